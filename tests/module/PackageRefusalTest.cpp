#include "GuiTestSupport.h"

#include "host/app/TApplication.h"
#include "host/app/TForm.h"
#include "host/app/TScreen.h"
#include "host/core/Refusal.h"
#include "shell/PackageLoader.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

struct RefusedValue {
    const char* name;
    QVariant value;
};

// A launch value the package cannot read, handed over by the host's own loader: the refusal comes
// back to the host as the host's refusal, with its message, no window is left behind and the
// package takes the next launch as if nothing had happened.
TEST(PackageEntry, ARefusedLaunchReachesTheHostAsItsRefusalAndLeavesNothingBehind) {
    GuiDialogSeam seam;
    const char* dir = std::getenv("RESTCONT_BINARY_DIR");
    shell::PackageLoader package(QDir(QString::fromUtf8(dir ? dir : RESTCONT_BINARY_DIR_DEFAULT))
                                     .filePath(u"lib/libPkg_kdr60251.so"_s));
    bool cell = true;
    const QVariant address = QVariant::fromValue(static_cast<qint64>(reinterpret_cast<quintptr>(&cell)));
    const RefusedValue values[] = {
        {"text", QVariant(u"CALCULA"_s)},
        {"four_elements", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, 46082.0}},
        {"month_as_text", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, u"março"_s, address}},
        {"outcome_as_text", QVariantList{u"CALCULA"_s, u"0001"_s, u"00001"_s, 46082.0, u"abc"_s}},
    };
    for (const RefusedValue& refused : values) {
        SCOPED_TRACE(refused.name);
        QString message;
        try {
            package.iniProc(refused.value);
        } catch (const host::Refusal& refusal) {
            message = refusal.message();
        } catch (...) {
            ADD_FAILURE() << "not the host's refusal";
        }
        EXPECT_TRUE(message.startsWith(u"Valor de lançamento inválido"_s)) << message.toStdString();
        EXPECT_TRUE(host::Application().Forms().isEmpty()) << "no form is created or shown";
        EXPECT_EQ(host::Screen().Cursor(), host::TCursor::crDefault);
        EXPECT_TRUE(cell) << "nothing written for a caller whose launch was refused";
        GuiDrain();
    }
    package.iniProc(QVariant());
    ASSERT_EQ(host::Application().Forms().size(), 1) << "the next launch opens the screen";
    host::Application().Forms().front()->Close();
    GuiDrain();
    package.finalize();
}

} // namespace
