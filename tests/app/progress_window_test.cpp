// Opening a large file in the program: a progress window whose Cancel leaves the open resume.

#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "shell/progress_window.h"
#include "shell/tlx_view.h"
#include "shell_fixture.h"
#include "temp_dir.h"

#include <QProgressDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::StartedApp;

std::string LongRtf(int paragraphs) {
    std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
    for (int i = 0; i < paragraphs; ++i) {
        rtf += "Paragraph " + std::to_string(i) + " of a long file\\par\n";
    }
    return rtf + "}";
}

TEST(ProgressWindow, CancelStopsALongOpenAndTheOpenResumeStaysAsItWas) {
    StartedApp s;
    ASSERT_TRUE(s.started);
    s.Frame().View()->insertPlainText(QStringLiteral("The resume being written"));
    const QString before = s.Frame().View()->toPlainText();
    const QString title = s.Frame().windowTitle();
    testing::TempDir dir;
    const std::string path = dir.File("long.rtf");
    testing::WriteFileBytes(path, LongRtf(20000));

    // The user presses Cancel as soon as the window exists: the timer runs while the open
    // hands the window its events.
    int windowsSeen = 0;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        if (QProgressDialog* window = s.Frame().Progress().Window()) {
            ++windowsSeen;
            EXPECT_EQ(window->windowModality(), Qt::WindowModal);
            EXPECT_EQ(window->labelText(), QStringLiteral("Opening the resume..."));
            window->cancel();
        }
    });
    press.start(0);
    EXPECT_FALSE(s.Frame().Doc().OpenResumeFile(path, false));
    press.stop();

    EXPECT_GE(windowsSeen, 1);
    EXPECT_EQ(s.Frame().View()->toPlainText(), before);
    EXPECT_EQ(s.Frame().windowTitle(), title);
    EXPECT_EQ(s.Frame().Progress().Window(), nullptr) << "the window stayed up";
    EXPECT_NE(s.app.Log().Text().find("EXEC: Trellic 'Open' command has been aborted."),
              std::string::npos);

    // Without Cancel the same file opens, and the window goes away.
    EXPECT_TRUE(s.Frame().Doc().OpenResumeFile(path, false));
    EXPECT_TRUE(s.Frame().View()->toPlainText().startsWith(QStringLiteral("Paragraph 0 of")));
    EXPECT_EQ(s.Frame().Progress().Window(), nullptr);
}

} // namespace
} // namespace trellic
