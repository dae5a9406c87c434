#include "host/app/QtTranslations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// Puts the application's translations back as they were: each translator removes itself when it goes.
struct TranslatorsGone {
    ~TranslatorsGone() { qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>()); }
};

QString previewTitle() {
    return QCoreApplication::translate("QPrintPreviewDialog", "Print Preview");
}

TEST(QtTranslations, QtsOwnDialogsSpeakPortuguese) {
    const TranslatorsGone restore;
    ASSERT_EQ(previewTitle(), u"Print Preview"_s);
    ASSERT_TRUE(host::InstallQtTranslations(QLocale(QLocale::Portuguese, QLocale::Brazil)));
    EXPECT_NE(previewTitle(), u"Print Preview"_s);
    EXPECT_FALSE(previewTitle().isEmpty());
}

TEST(QtTranslations, ALocaleWithoutTranslationsLeavesEnglish) {
    const TranslatorsGone restore;
    EXPECT_FALSE(host::InstallQtTranslations(QLocale::c()));
    EXPECT_EQ(previewTitle(), u"Print Preview"_s);
}

} // namespace
