// The printable HTML table: well-formed (parsed as XML), self-contained, with
// the headings and the cells of the CSV table.
#include "Cli.h"

#include <QString>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string RunTable(std::vector<const char*> args)
{
    args.insert(args.begin(), "densimo-cli");
    std::FILE* in = std::tmpfile();
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    EXPECT_EQ(densimo::cli::RunCli(static_cast<int>(args.size()), args.data(), in, out, err), 0);
    std::rewind(out);
    std::string text;
    char chunk[65536];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, out)) > 0;) {
        text.append(chunk, n);
    }
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return text;
}

TEST(TableHtml, IsWellFormedSelfContainedAndPrintable)
{
    const std::string html = RunTable({"table", "1B", "--format", "html"});
    QXmlStreamReader xml(QByteArray::fromStdString(html));
    int tables = 0, cells = 0, headerRows = 0;
    QStringList headings;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const QStringView name = xml.name();
        EXPECT_NE(name, u"script");
        EXPECT_NE(name, u"link");
        EXPECT_NE(name, u"img");
        EXPECT_FALSE(xml.attributes().hasAttribute(QStringLiteral("src")));
        tables += name == u"table" ? 1 : 0;
        cells += name == u"td" ? 1 : 0;
        headerRows += name == u"thead" ? 1 : 0;
        if (name == u"tr" && xml.attributes().value(QStringLiteral("class")) == u"title") {
            xml.readNextStartElement();
            headings << xml.readElementText();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line "
                                 << xml.lineNumber();
    // 421 readings in pages of 15 columns; each page 337 temperature rows.
    EXPECT_EQ(tables, 29);
    EXPECT_EQ(headerRows, tables);         // headings repeat with every page
    EXPECT_EQ(cells, 421 * 337 + tables);  // and one footer cell per page
    ASSERT_EQ(headings.size(), tables);
    EXPECT_TRUE(headings[0].contains(QStringLiteral("表1B 燃料油")));
    EXPECT_TRUE(headings[0].contains(QStringLiteral("g/cm³")));
    const QString text = QString::fromStdString(html);
    EXPECT_TRUE(text.contains(QStringLiteral("size: A4 landscape")));
    EXPECT_TRUE(text.contains(QStringLiteral("display: table-header-group")));
    EXPECT_TRUE(text.contains(QStringLiteral("Densimo 1.0.0.1")));
    EXPECT_FALSE(text.contains(QStringLiteral("http://")) ||
                 text.contains(QStringLiteral("https://")));
}

TEST(TableHtml, NamesEachTableAndCarriesTheDateInTheFooter)
{
    setenv("SOURCE_DATE_EPOCH", "1796947200", 1);  // 2026-12-11
    const struct {
        const char* table;
        const char* heading;
    } cases[] = {{"1A", "表1A 原油"}, {"1B", "表1B 燃料油"}, {"1D", "表1D 潤滑油"}};
    for (const auto& c : cases) {
        const std::string html = RunTable({"table", c.table, "--readings", "0.8:0.81:0.005",
                                           "--temperatures", "20:21:1", "--format", "html"});
        EXPECT_NE(html.find(c.heading), std::string::npos) << c.table;
        EXPECT_NE(html.find("2026-12-11"), std::string::npos);
        EXPECT_NE(html.find("<td>"), std::string::npos);
    }
    unsetenv("SOURCE_DATE_EPOCH");
}

}  // namespace
