// Every text of the web pages goes through Qt's translation: under a translator that wraps
// each text in « », a letter left outside « » in a text between tags is a literal that
// escaped it. The data the pages are given (hotels, statistics, details, titles, figures)
// is allowed as it is, and the charts' SVG (the chart's data) left out.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <algorithm>
#include <string>
#include <vector>

#include "support/pseudo_translator.h"
#include "web/web_pages.h"

namespace zt::web {
namespace {

// The texts between the tags of `page` with a letter outside « » once `data` and the
// entities are removed, one a line; `checked` counts the texts checked. The charts' SVG is
// skipped; a month's short name must be the start of its title.
std::string unwrapped(const std::string& page, const std::vector<std::string>& data, int& checked) {
    static const QRegularExpression wrapped("«[^«»]*»"), entity("&#?\\w+;"), tag("<[^>]*>"),
        svg("<svg.*?</svg>", QRegularExpression::DotMatchesEverythingOption),
        abbr("<abbr title=\"([^\"]*)\">([^<]*)</abbr>");
    std::string out;
    const auto check = [&](QString text) {
        if (QString(text).remove(' ').remove('\n').isEmpty()) return;
        ++checked;
        const QString shown = text;
        for (const auto& d : data) text.remove(QString::fromStdString(d));
        for (QString before; before != text;) {  // innermost first
            before = text;
            text.remove(wrapped);
        }
        text.remove(entity);
        if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); })) out += shown.toStdString() + "\n";
    };
    QString html = QString::fromStdString(page).replace(svg, "<svg/>");
    for (const auto& m : abbr.globalMatch(html)) {
        check(m.captured(1));
        if (m.captured(2).isEmpty() || !m.captured(1).startsWith(m.captured(2)))
            out += (m.captured(2) + " (" + m.captured(1) + ")\n").toStdString();
    }
    for (const QString& text : html.replace(abbr, "<abbr/>").split(tag)) check(text);
    return out;
}

TEST(WebPseudoTranslation, EveryTextOfThePagesIsTranslated) {
    const test::PseudoTranslation wrapped;
    const std::vector<std::string> data = {"  1 Hotel Uno",  "  2 Hotel Due", "Produzione",  "Presenze",
                                           "Camere doppie", "Confronto dati", "Rapporto dati", "Legenda dati",
                                           "Totale dati",   "Titolo dati",    "Messaggio dati"};
    GridView g;
    g.hotels = {data[0], data[1]};
    g.hotel = 1;
    g.hotelItem = data[0];
    g.statistics = {data[2], data[3]};
    g.statistic = data[2];
    g.details = g.ratioDetails = {data[4]};
    g.detail = g.ratioDetail = data[4];
    g.comparisons = {data[3]};
    g.ratioStatistic = data[3];
    g.year = "2025";
    g.compareYear = "2024";
    g.texts.fill("1.234,50");
    g.chart = g.compareChart = g.ratioChart = "<svg><text>Not checked</text></svg>";
    desktop::Chart twoSets;
    twoSets.setTitle(data[5]);
    twoSets.setNumSets(2);
    g.compare = comparisonOf(twoSets);  // no legends: "Serie 1", "Serie 2"
    g.ratio = Series{data[6], 1, {}, {data[7], ""}};

    desktop::ChainRow hotel{1, data[0], {}, 12000, 10000, 20.0F}, total{0, data[8], {}, 12000, 10000, 20.0F};
    hotel.months[0] = total.months[0] = 12000;
    ChainView c;
    c.statistics = {data[2]};
    c.details = {data[4]};
    c.table = desktop::ChainTable{data[2], data[4], "2025", false, {hotel}, total};
    c.sortColumn = 3;  // a month's heading with the arrow

    int checked = 0;
    for (const auto& html : {gridPage(g), chainPage(c), loginPage(""), loginPage(data[10]),
                             messagePage(data[9], data[10])}) {
        const int before = checked;
        EXPECT_EQ(unwrapped(html, data, checked), "") << html;
        EXPECT_GE(checked - before, 5) << html;
    }
    // The grid's months and headings, the comparison's series, the chain's 16 headings.
    EXPECT_GE(checked, 5 * 5 + 12 * 3 + 14 + 16 + 12);
    std::cerr << "CHECKED " << checked << "\n";
}

}  // namespace
}  // namespace zt::web
