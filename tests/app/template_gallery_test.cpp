#include "document/tlx_doc.h"
#include "engine/prompter.h"
#include "model/tlx_file.h"
#include "shell/qt_prompter.h"
#include "shell/template_gallery.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace trellic::testing {
namespace {

namespace fs = std::filesystem;

std::string Shipped(const char* name) {
    return std::string(TRELLIC_BIN_DIR) + "/templates/" + name;
}

// How much of a picture is not white: the printed part of a page.
double InkShare(const QImage& image) {
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            ink += qGray(image.pixel(x, y)) < 200 ? 1 : 0;
        }
    }
    return static_cast<double>(ink) / (image.width() * image.height());
}

// Templates in a program's folder and a user's, one of them damaged.
struct GalleryFolders {
    GalleryFolders() {
        fs::create_directories(program);
        fs::create_directories(user);
        fs::copy_file(Shipped("chronological.tlx"), program + "/chronological.tlx");
        fs::copy_file(Shipped("plain_text.tlx"), program + "/plain_text.tlx");
        WriteFileBytes(program + "/broken.tlx", "TLX4QV but no more");
        WriteFileBytes(program + "/notes.md", "not a resume");
        // A Polish name in the user's folder: the file system's bytes, shown as they are.
        WriteFileBytes(user + "/Zofia \xc5\x81\xc4\x85"
                              "cka.txt",
                       "Zofia\r\nKrak\xf3w\r\n");
    }
    TempDir dir;
    std::string program = dir.File("templates");
    std::string user = dir.File("user");
};

QStringList Names(const CTemplateGalleryDlg& gallery) {
    QStringList names;
    for (int i = 0; i < gallery.TemplateList()->count(); ++i) {
        names << gallery.TemplateList()->item(i)->text();
    }
    return names;
}

TEST(TemplateGallery, OpensAtOnceAndPaintsEachFirstPageAfterwards) {
    GalleryFolders folders;
    CTemplateGalleryDlg gallery({folders.program, folders.user}, TRELLIC_BIN_DIR);
    // Listed by file name before anything is read: opening costs no rendering.
    EXPECT_EQ(Names(gallery), (QStringList{"broken", "chronological", "plain_text",
                                           QString::fromUtf8("Zofia \u0141\u0105cka")}));
    EXPECT_EQ(gallery.PendingThumbnails(), 4);
    const QImage blank = gallery.TemplateList()
                             ->item(1)
                             ->icon()
                             .pixmap(gallery.TemplateList()->iconSize())
                             .toImage();

    while (gallery.RenderNextThumbnail()) {
    }
    EXPECT_EQ(gallery.PendingThumbnails(), 0);
    // Read, each line takes the resume's own name; a text file keeps its file's.
    EXPECT_EQ(Names(gallery), (QStringList{"broken", "Chronological", "Plain Text",
                                           QString::fromUtf8("Zofia \u0141\u0105cka")}));
    const QSize iconSize = gallery.TemplateList()->iconSize();
    const QImage page = gallery.TemplateList()->item(1)->icon().pixmap(iconSize).toImage();
    EXPECT_GT(InkShare(page), InkShare(blank) + 0.01) << "the first page shows its text";

    // The selected template says what it is for.
    gallery.TemplateList()->setCurrentRow(1);
    EXPECT_TRUE(gallery.DescriptionLabel()->text().startsWith(
        "Chronological (chronological.tlx)\nExperience first"))
        << gallery.DescriptionLabel()->text().toStdString();
    gallery.TemplateList()->setCurrentRow(0);
    EXPECT_EQ(gallery.DescriptionLabel()->text(),
              "broken (broken.tlx)\nThis file cannot be opened as a resume.");
}

TEST(TemplateGallery, TheFirstPageIsWhatPrintWouldPrint) {
    const TemplatePreview preview =
        LoadTemplatePreview(Shipped("senior.tlx"), TRELLIC_BIN_DIR, 150);
    EXPECT_EQ(preview.name, "Senior");
    EXPECT_TRUE(preview.description.startsWith("Two full pages"));
    ASSERT_FALSE(preview.firstPage.isNull());
    EXPECT_EQ(preview.firstPage.width(), 150);
    EXPECT_GT(preview.firstPage.height(), 150); // a page is taller than wide
    EXPECT_TRUE(
        LoadTemplatePreview("/nowhere/missing.tlx", TRELLIC_BIN_DIR, 150).firstPage.isNull());
}

TEST(TemplateGallery, AUserTemplateNamedInAnyScriptShowsAsWritten) {
    // A shipped template the user renamed and described in Polish and Chinese, saved under a
    // file name in both scripts.
    const std::string polish = "Zofia \u0141ukasiewicz";
    const std::string chinese = "\u738B\u5C0F\u660E";
    NodeTree tree(TRELLIC_BIN_DIR);
    ResetNodeTree(tree, {});
    const std::string bytes = ReadFileBytes(Shipped("chronological.tlx"));
    Archive in = Archive::ForLoading(bytes);
    SilentPrompter prompter;
    ASSERT_EQ(ReadTLX(in, tree, prompter), TlxReadStatus::Loaded);
    tree.resume->name = polish;
    tree.resume->description = chinese + " / " + polish;
    TempDir dir;
    const std::string path = dir.File(chinese + " " + polish + ".tlx");
    WriteFileBytes(path, WriteTLX(tree));

    CTemplateGalleryDlg gallery({dir.Path()}, TRELLIC_BIN_DIR);
    EXPECT_EQ(Names(gallery), QStringList{QString::fromStdString(chinese + " " + polish)});
    while (gallery.RenderNextThumbnail()) {
    }
    EXPECT_EQ(Names(gallery), QStringList{QString::fromStdString(polish)});
    gallery.TemplateList()->setCurrentRow(0);
    EXPECT_EQ(gallery.DescriptionLabel()->text(),
              QString::fromStdString(polish + " (" + chinese + " " + polish + ".tlx)\n" + chinese +
                                     " / " + polish));
}

TEST(TemplateGallery, OpenChoosesTheSelectedTemplate) {
    GalleryFolders folders;
    QtPrompter prompter(TRELLIC_BIN_DIR);
    WhenModal([](QWidget* modal) {
        auto* gallery = qobject_cast<CTemplateGalleryDlg*>(modal);
        ASSERT_NE(gallery, nullptr);
        EXPECT_EQ(gallery->windowTitle(), "New from Template");
        EXPECT_TRUE(gallery->OpenButton()->isDefault());
        gallery->TemplateList()->setCurrentRow(2);
        gallery->OpenButton()->click();
    });
    FileDialogOptions chooser;
    EXPECT_EQ(prompter.ChooseTemplate({folders.program}, chooser),
              folders.program + "/plain_text.tlx");
}

TEST(TemplateGallery, AnyOtherFileIsStillChosenThroughTheFileChooser) {
    GalleryFolders folders;
    QtPrompter prompter(TRELLIC_BIN_DIR);
    QString shownFolder;
    WhenModal([&](QWidget* modal) {
        WhenModal([&](QWidget* chooser) {
            auto* dialog = qobject_cast<QFileDialog*>(chooser);
            ASSERT_NE(dialog, nullptr);
            shownFolder = dialog->directory().absolutePath();
            dialog->reject();
        });
        auto* gallery = qobject_cast<CTemplateGalleryDlg*>(modal);
        ASSERT_NE(gallery, nullptr);
        gallery->OtherFileButton()->click();
    });
    FileDialogOptions chooser;
    chooser.initialFolder = folders.user;
    chooser.filter = kTrellicFileFilter;
    EXPECT_EQ(prompter.ChooseTemplate({folders.program}, chooser), std::nullopt);
    EXPECT_EQ(shownFolder, QString::fromStdString(folders.user));
}

TEST(TemplateGallery, NoTemplatesSaySoAndLeaveTheOtherFile) {
    TempDir empty;
    CTemplateGalleryDlg gallery({empty.Path()}, TRELLIC_BIN_DIR);
    EXPECT_EQ(gallery.TemplateList()->count(), 0);
    EXPECT_FALSE(gallery.OpenButton()->isEnabled());
    EXPECT_TRUE(gallery.OtherFileButton()->isEnabled());
    EXPECT_TRUE(gallery.DescriptionLabel()->text().contains(QString::fromStdString(empty.Path())));
}

} // namespace
} // namespace trellic::testing
