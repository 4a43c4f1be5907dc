#include "shell/application.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace trellic::testing {
namespace {

const QString kProgram = QStringLiteral("trellic");

TEST(CommandLine, QtsOwnOptionsAreLeftToQt) {
    EXPECT_EQ(WithoutQtOptions({kProgram, QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                QStringLiteral("--style=fusion"), QStringLiteral("-reverse"),
                                QStringLiteral("--display"), QStringLiteral(":1"),
                                QStringLiteral("cv.tlx")}),
              QStringList({kProgram, QStringLiteral("cv.tlx")}));
    // A value that looks like an option is still the value of the option before it, and after
    // "--" nothing is Qt's.
    EXPECT_EQ(WithoutQtOptions({kProgram, QStringLiteral("-title"), QStringLiteral("--version"),
                                QStringLiteral("--"), QStringLiteral("-reverse")}),
              QStringList({kProgram, QStringLiteral("--"), QStringLiteral("-reverse")}));
    EXPECT_EQ(WithoutQtOptions({kProgram, QStringLiteral("--bogus"), QStringLiteral("-platforms")}),
              QStringList({kProgram, QStringLiteral("--bogus"), QStringLiteral("-platforms")}));
}

TEST(CommandLine, WrongOptionsAreUsageErrorsEvenBesideQtOptions) {
    for (const QStringList& arguments :
         {QStringList{kProgram, QStringLiteral("--bogus")},
          QStringList{kProgram, QStringLiteral("-platform"), QStringLiteral("offscreen"),
                      QStringLiteral("-x")},
          QStringList{QStringLiteral("/usr/bin/trellic"), QStringLiteral("cv.tlx"),
                      QStringLiteral("--frobnicate=1")}}) {
        const CommandLine result = ParseCommandLine(arguments);
        ASSERT_TRUE(result.output) << arguments.join(u' ').toStdString();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.output->contains(QStringLiteral("Try 'trellic --help'")));
    }
    // Qt's options, a file and "--" start the program.
    EXPECT_FALSE(ParseCommandLine({kProgram, QStringLiteral("-style"), QStringLiteral("fusion"),
                                   QStringLiteral("--"), QStringLiteral("-cv.tlx")})
                     .output);
    const CommandLine version =
        ParseCommandLine({kProgram, QStringLiteral("-platform"), QStringLiteral("xcb"),
                          QStringLiteral("--version")});
    EXPECT_EQ(version.output, QStringLiteral("Trellic 5.0\n"));
    EXPECT_EQ(version.exitCode, 0);
}

TEST(CommandLine, HelpSaysTheFileIsOpened) {
    const CommandLine all = ParseCommandLine({kProgram, QStringLiteral("--help-all")});
    ASSERT_TRUE(all.output);
    EXPECT_EQ(all.exitCode, 0);
    const CommandLine help = ParseCommandLine({kProgram, QStringLiteral("-h")});
    ASSERT_TRUE(help.output);
    EXPECT_TRUE(help.output->contains(QStringLiteral("[file]")));
    EXPECT_TRUE(help.output->contains(QStringLiteral("to open")));
    EXPECT_FALSE(help.output->contains(QStringLiteral("Ignored")));
}

TEST(QtTranslations, QtsOwnButtonsFollowTheLocale) {
    QTranslator german;
    ASSERT_TRUE(LoadQtTranslations(german, QLocale(QLocale::German, QLocale::Germany)))
        << "Qt's translations are missing (qt6-translations-l10n)";
    QCoreApplication::installTranslator(&german);
    {
        QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text().remove(u'&'), "Ja");
        EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text().remove(u'&'), "Nein");
    }
    QCoreApplication::removeTranslator(&german);

    // A language Qt has no translation for leaves Qt in English.
    QTranslator none;
    EXPECT_FALSE(LoadQtTranslations(none, QLocale(QLocale::Esperanto)));
    QDialogButtonBox buttons(QDialogButtonBox::Yes);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text().remove(u'&'), "Yes");
}

} // namespace
} // namespace trellic::testing
