// libFuzzer target: the conversion procedure from two arbitrary byte strings
// and a product index, and the calculator from arbitrary numbers. Whatever
// comes in, it must return with a warning message or a six-character figure
// that parses back to the converted density.
#include "Check.h"
#include "Conversion.h"
#include "DensityCalc.h"
#include "NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    // First byte: product -1 to 5; the rest: reading, 0xFF, temperature.
    const int product = data[0] % 7 - 1;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t split = rest.find('\xFF');
    const std::string_view reading = rest.substr(0, split);
    const std::string_view temperature =
        split == std::string_view::npos ? std::string_view() : rest.substr(split + 1);

    const densimo::Outcome outcome = densimo::ConvertTexts(product, reading, temperature);
    const densimo::ProductLimits* limits = densimo::LimitsForProduct(product);
    if (limits == nullptr) {
        Check(!outcome.converted && outcome.message.empty());
    } else if (!outcome.converted) {
        Check(outcome.message == limits->readingMessage ||
              outcome.message == limits->temperatureMessage);
    } else {
        const std::string_view text = outcome.Text();
        Check(text.size() == 6 && text[1] == '.');
        for (std::size_t i = 0; i < text.size(); ++i) {
            Check(i == 1 || (text[i] >= '0' && text[i] <= '9'));
        }
        Check(std::fabs(densimo::ParseDecimal(text) - outcome.density) <= 0.00005 + 1e-12);
    }

    // The calculator on its own, with the bytes read as a density and a temperature.
    if (size >= 1 + sizeof(double) + sizeof(float)) {
        double density = 0.0;
        float celsius = 0.0f;
        std::memcpy(&density, data + 1, sizeof density);
        std::memcpy(&celsius, data + 1 + sizeof density, sizeof celsius);
        CDensityCalc calc;
        const double result = calc.Convert(product, celsius, density, data[0] & 1, 4);
        Check(std::isnan(density) || std::isnan(result) == std::isnan(density));
        Check(calc.LastPasses() <= 100000);
    }
    return 0;
}
