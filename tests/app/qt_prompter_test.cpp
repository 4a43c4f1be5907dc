#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "shell/engine_window.h"
#include "shell/qt_prompter.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic::testing {
namespace {

TEST(QtPrompter, TranslatesClassicFilters) {
    struct Row {
        const char* name;
        std::string classic;
        const char* qt;
    };
    const Row rows[] = {
        {"one type", "Text Files (*.txt)|*.txt||", "Text Files (*.txt)"},
        {"every file means every name", kTrellicFileFilter,
         "Trellic Files (*.tlx);;Rich Text Files (*.rtf);;Text Files (*.txt);;All Files (*)"},
        {"several patterns", "Pictures (*.jpg;*.gif)|*.jpg;*.gif||", "Pictures (*.jpg *.gif)"},
        {"name without patterns", "Presets|*.nod||", "Presets (*.nod)"},
        {"nothing", "", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(QtPrompter::TranslateFilter(row.classic), row.qt) << row.name;
    }
}

TEST(QtPrompter, ResolvesAddressesBesideTheProgram) {
    struct Row {
        const char* address;
        const char* url;
    };
    const Row rows[] = {
        {"https://quelmar.example/", "https://quelmar.example/"},
        {"docs/index.html", "file:///opt/trellic/docs/index.html"},
        {"docs/nodes.html#node-library", "file:///opt/trellic/docs/nodes.html#node-library"},
        {"/usr/share/doc/x.html", "file:///usr/share/doc/x.html"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(QtPrompter::ResolveAddress(row.address, "/opt/trellic").toString(), row.url)
            << row.address;
    }
}

TEST(QtPrompter, MessagesAreCaptionedWithTheirIcons) {
    QtPrompter prompter(TRELLIC_BIN_DIR);
    struct Row {
        MessageIcon icon;
        QMessageBox::Icon shown;
    };
    for (const Row row : {Row{MessageIcon::Information, QMessageBox::Information},
                          Row{MessageIcon::Exclamation, QMessageBox::Warning}}) {
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            caption = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        // Engine texts are UTF-8.
        prompter.ShowMessage("R\xC3\xA9sum\xC3\xA9 refused.", row.icon);
        EXPECT_EQ(caption, "TLX Engine");
        EXPECT_EQ(text, QString::fromUtf8("R\u00e9sum\u00e9 refused."));
        EXPECT_EQ(icon, row.shown);
    }
}

TEST(QtPrompter, QuestionsAnswerYesOrNo) {
    QtPrompter prompter(TRELLIC_BIN_DIR);
    for (auto [button, expected] :
         {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenModal([&icon, button = button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            icon = box->icon();
            box->button(button)->click();
        });
        EXPECT_EQ(prompter.AskYesNo("Continue?"), expected);
        EXPECT_EQ(icon, QMessageBox::Question);
    }
}

TEST(QtPrompter, SaveQuestionOffersSaveDiscardAndCancel) {
    QtPrompter prompter(TRELLIC_BIN_DIR);
    for (auto [button, expected] : {std::pair{QMessageBox::Save, SaveChoice::Save},
                                    std::pair{QMessageBox::Discard, SaveChoice::Discard},
                                    std::pair{QMessageBox::Cancel, SaveChoice::Cancel}}) {
        QString text;
        WhenModal([&text, button = button](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            text = box->text();
            box->button(button)->click();
        });
        EXPECT_EQ(prompter.AskSaveDiscardCancel("Close?"), expected);
        EXPECT_EQ(text, "Close?");
    }
    // Esc keeps the resume open.
    WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); });
    EXPECT_EQ(prompter.AskSaveDiscardCancel("Close?"), SaveChoice::Cancel);
}

TEST(QtPrompter, SaveDialogAddsTheDefaultExtension) {
    TempDir dir;
    QtPrompter prompter(dir.Path());
    FileDialogOptions options;
    options.defaultExtension = "txt";
    options.filter = "Text Files (*.txt)|*.txt||";
    options.initialFolder = dir.Path();
    QString filter;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        filter = dialog->selectedNameFilter();
        dialog->selectFile(QStringLiteral("engine"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(prompter.ChooseSaveFile(options), dir.File("engine.txt"));
    EXPECT_EQ(filter, "Text Files (*.txt)");

    // Folders asked for beside the usual places are a click away.
    options.places = {dir.Path()};
    QList<QUrl> places;
    const auto placesShown = [&] {
        WhenModal([&](QWidget* modal) {
            places = qobject_cast<QFileDialog*>(modal)->sidebarUrls();
            qobject_cast<QDialog*>(modal)->reject();
        });
        EXPECT_EQ(prompter.ChooseOpenFile(options), std::nullopt);
    };
    const QUrl place = QUrl::fromLocalFile(QString::fromStdString(dir.Path()));
    placesShown();
    EXPECT_EQ(places.count(place), 1);
    // The chooser keeps its places from one time to the next; one chooser's own must neither
    // pile up nor turn up in another.
    placesShown();
    EXPECT_EQ(places.count(place), 1);
    options.places.clear();
    placesShown();
    EXPECT_FALSE(places.contains(place));
    EXPECT_TRUE(places.contains(QUrl::fromLocalFile(QDir::homePath())));
}

TEST(QtPrompter, APageNoBrowserCanShowIsNamedToTheUser) {
    // Installed below a folder with a Chinese name: the path is shown as it is.
    const std::string folder = "/opt/\xe7\xa8\x8b\xe5\xba\x8f/trellic";
    QtPrompter prompter(folder);
    std::vector<QUrl> asked;
    bool browser = false;
    prompter.SetUrlOpener([&](const QUrl& url) {
        asked.push_back(url);
        return browser;
    });
    QString text;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        text = box->text();
        EXPECT_EQ(box->windowTitle(), "TLX Engine");
        box->button(QMessageBox::Ok)->click();
    });
    prompter.OpenAddress("docs/nodes.html#node-library");
    ASSERT_EQ(asked.size(), 1U);
    EXPECT_EQ(text, QString::fromUtf8("No web browser could be started to show the page. You can "
                                      "open it in a browser yourself:\n\n/opt/\u7a0b\u5e8f/"
                                      "trellic/docs/nodes.html"));

    // A started browser is the end of it.
    browser = true;
    bool shown = false;
    WhenModal([&](QWidget* modal) {
        shown = true;
        modal->close();
    });
    prompter.OpenAddress("https://quelmar.example/");
    QCoreApplication::processEvents();
    EXPECT_EQ(asked.size(), 2U);
    EXPECT_FALSE(shown);
}

TEST(QtPrompter, ErrorReportBringsUpTheEngineWindow) {
    EngineLog log;
    QtPrompter prompter(TRELLIC_BIN_DIR);
    CEngineDlg window(log, prompter);
    prompter.SetEngineWindow(&window);
    window.showMinimized();
    bool minimisedDuringBox = false;
    WhenModal([&](QWidget* modal) {
        minimisedDuringBox = window.isMinimized();
        qobject_cast<QMessageBox*>(modal)->button(QMessageBox::Ok)->click();
    });
    ReportEngineError(log, prompter, "**TEST ERROR**\r\n\r\n");
    EXPECT_TRUE(minimisedDuringBox);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

} // namespace
} // namespace trellic::testing
