// The demo's codes as the screen lays them out. Every code a name text shows beside its name goes
// through the host's mask for that text's picture type; a code that fits the mask fills every
// position and carries none of the literals the mask adds, so reading the layout back without those
// literals gives the stored code again. A short code leaves blank positions, a code stored with its
// dots shows them twice, a long one is cut, a lower-case one changes case: each reads back otherwise.

#include "GeneratedDemo.h"
#include "display/TextEvents.h"
#include "host/context/OperatorContext.h"
#include "host/format/Formatting.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

// Where the codes of each formatted field come from: the result sets carry the catalog's codes.
const std::map<std::string, std::string>& codeSources() {
    static const std::map<std::string, std::string> sources = {
        {"CDPRATO", "SELECT CDPRATO FROM PRATO ORDER BY 1"},
        {"CDPRODUTO", "SELECT CDPRODUTO FROM PRODUTO ORDER BY 1"},
        {"CDARVPROD", "SELECT CDARVPROD FROM PRODUTO ORDER BY 1"},
    };
    return sources;
}

// The field and picture type of every name text that shows a code.
std::set<std::pair<std::string, int>> formattedCodes() {
    std::set<std::pair<std::string, int>> uses;
    for (const display::TextEvent& event : display::textEvents())
        if (event.family == display::TextFamily::NameWithCode)
            uses.insert({event.sourceField, event.pictType});
    return uses;
}

QString readBack(const QString& mask, const QString& code) {
    const QChar blank = host::SplitEditMask(mask).blank;
    QString literals;
    for (const QChar c : host::FormatMaskText(mask, QString()))
        if (c != blank)
            literals += c;
    QString kept;
    for (const QChar c : host::FormatMaskText(mask, code))
        if (!literals.contains(c))
            kept += c;
    return kept;
}

TEST(DemoCodeMasksTest, EveryShownCodeFitsItsMaskExactly) {
    const ReadOnlyDb db(generatedDemo());
    const auto uses = formattedCodes();
    ASSERT_FALSE(uses.empty());
    for (const auto& [field, pictType] : uses) {
        const auto source = codeSources().find(field);
        ASSERT_NE(source, codeSources().end()) << "a name text shows " << field << ", unknown to this test";
        const QString mask = host::DBPict(pictType);
        const auto codes = db.column(source->second);
        ASSERT_FALSE(codes.empty()) << source->second;
        int misfits = 0;
        for (const std::string& stored : codes) {
            const QString code = QString::fromStdString(stored);
            if (readBack(mask, code) == code)
                continue;
            if (++misfits <= 5)
                ADD_FAILURE() << field << " '" << stored << "' under picture type " << pictType << " mask '"
                              << mask.toStdString() << "' shows '"
                              << host::FormatMaskText(mask, code).trimmed().toStdString() << "'";
        }
        EXPECT_EQ(misfits, 0) << field << " codes that do not fit picture type " << pictType;
    }
}

// The check itself tells the faults apart from a fitting code, on the very masks the screen uses.
TEST(DemoCodeMasksTest, ReadingBackRefusesEveryWayACodeMisfits) {
    for (const int pictType : {0, 1}) {
        const QString mask = host::DBPict(pictType);
        EXPECT_EQ(readBack(mask, u"AB12345678"_s), u"AB12345678"_s) << pictType;
        for (const QString& misfit : {u"G02"_s, u"01.001"_s, u"AB123456789"_s, u"ab12345678"_s, QString()})
            EXPECT_NE(readBack(mask, misfit), misfit) << pictType << " " << misfit.toStdString();
    }
}

} // namespace
