// The convert button: ValidateInputs and OnConvert, thin members over the
// core's conversion procedure.
#include "Conversion.h"
#include "DensimoDlg.h"

#include <QByteArray>
#include <QLabel>

#include <string_view>

namespace {

std::string_view View(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

// Parses both texts and checks them against the selected table, density
// first. Returns 0 when accepted (m_dReading and m_dTemperature hold the
// values) and 1 after a warning box; a product index outside the three
// tables is accepted without storing anything.
int CDensimoDlg::ValidateInputs()
{
    const QByteArray reading = m_strReading.toUtf8();
    const QByteArray temperature = m_strTemperature.toUtf8();
    const densimo::Validation v =
        densimo::ValidateTexts(m_nProduct, View(reading), View(temperature));
    switch (v.verdict) {
        case densimo::Verdict::NoSuchProduct:
            return 0;
        case densimo::Verdict::ReadingRefused:
            ShowWarning(
                QString::fromUtf8(v.message.data(), static_cast<qsizetype>(v.message.size())));
            return 1;
        case densimo::Verdict::TemperatureRefused:
            m_dReading = v.reading;
            ShowWarning(
                QString::fromUtf8(v.message.data(), static_cast<qsizetype>(v.message.size())));
            return 1;
        case densimo::Verdict::Accepted:
            break;
    }
    m_dReading = v.reading;
    m_dTemperature = v.temperature;
    return 0;
}

void CDensimoDlg::OnConvert()
{
    UpdateData(true);
    if (ValidateInputs() != 0) {
        return;  // the result display keeps what it showed
    }
    const double result = densimo::ConvertAccepted(m_nProduct, m_dReading, m_dTemperature);
    const std::string_view text = densimo::FixedText(result).view();
    m_staticResult->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}
