// The desktop view on a generated 5 MB RTF (lists, tabs, many faces): opening it, a keystroke,
// and the repaint a blinking caret causes. A keystroke should cost less than a frame (16 ms),
// an idle repaint next to nothing, and opening at most three times what `tlxtool convert`
// needs for the same file (compare with bench/app/app_cpu.sh, which measures the program).
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "print/rich_text_bridge.h"
#include "rtf/large_rtf.h"
#include "shell/tlx_view.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

using namespace trellic;

// VIEW_BENCH_RTF names a file of one's own to open instead, to tell what the generated file's
// mix of faces costs from what any long text costs.
const std::string& LargeRtf() {
    static const std::string rtf = [] {
        const char* path = std::getenv("VIEW_BENCH_RTF");
        if (path == nullptr || *path == '\0') {
            return bench::MakeLargeRtf(5u << 20);
        }
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return rtf;
}

std::unique_ptr<CTLXView> ShownView() {
    auto view = std::make_unique<CTLXView>();
    view->resize(1000, 800);
    view->show();
    QApplication::processEvents();
    return view;
}

// What the window has to show once the file is in: the text laid out as far as the viewport
// and the first paint. Qt lays out the rest of a long text in the background.
void Open(CTLXView& view) {
    (void)view.ImportRtf(LargeRtf());
    view.viewport()->repaint();
}

void BM_OpenLargeRtf(benchmark::State& state) {
    auto view = ShownView();
    for (auto _ : state) {
        Open(*view);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * LargeRtf().size()));
}
BENCHMARK(BM_OpenLargeRtf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The first text a new window opens: no text before it to let go of.
void BM_OpenLargeRtfInNewView(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto view = ShownView();
        state.ResumeTiming();
        Open(*view);
        state.PauseTiming();
        view.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * LargeRtf().size()));
}
BENCHMARK(BM_OpenLargeRtfInNewView)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same, until the background layout is done as well: the whole text measured.
void BM_OpenLargeRtfLaidOut(benchmark::State& state) {
    auto view = ShownView();
    for (auto _ : state) {
        Open(*view);
        benchmark::DoNotOptimize(view->document()->documentLayout()->documentSize());
    }
}
BENCHMARK(BM_OpenLargeRtfLaidOut)->Unit(benchmark::kMillisecond)->Iterations(1);

// A long resume as the renderers write one, in one face: section headings over rules, and
// tabbed lines below them: 2 MB of it holds about 5,500 rules.
const std::string& LongResumeRtf() {
    static const std::string rtf = [] {
        std::string section = "\\fs28\\b Experience\\par\n\\f1\\fs32";
        for (int i = 0; i < 44; ++i) {
            section += "\\'af";
        }
        section += "\\par\n\\f0\\fs22\\b0\\par\n\\b Job Title, Employer (2022 - today)\\par\n"
                   "\\b0\\tab Led a team of six building the order pipeline.\\par\n"
                   "\\tab Cut checkout latency by 40%.\\par\n\\par\n";
        std::string text = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fnil "
                           "Arial;}}\n\\pard\\f0\\fs22\n";
        while (text.size() < (2u << 20)) {
            text += section;
        }
        return text + "}";
    }();
    return rtf;
}

// Opening a long resume over another: the rules of the text before must not slow the new one
// down as it goes in.
void BM_ReopenLongResume(benchmark::State& state) {
    auto view = ShownView();
    (void)view->ImportRtf(LongResumeRtf());
    for (auto _ : state) {
        (void)view->ImportRtf(LongResumeRtf());
        view->viewport()->repaint();
    }
}
BENCHMARK(BM_ReopenLongResume)->Unit(benchmark::kMillisecond)->Iterations(2);

// A view holding the large text, laid out down to the caret, in a numbered paragraph near the top.
std::unique_ptr<CTLXView> LoadedView() {
    auto view = ShownView();
    Open(*view);
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        if (FromQtBlockFormat(block.blockFormat()).numbering > kPfnBullet) {
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock);
            view->setTextCursor(cursor);
            break;
        }
    }
    view->ensureCursorVisible();
    QApplication::processEvents();
    return view;
}

void Key(CTLXView& view, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&view, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&view, &release);
    view.viewport()->repaint();
}

// A character typed and the viewport painted; every other round takes it out again, so that
// the text stays as it was.
void BM_Keystroke(benchmark::State& state) {
    auto view = LoadedView();
    bool typed = false;
    for (auto _ : state) {
        if (typed) {
            Key(*view, Qt::Key_Backspace, QString());
        } else {
            Key(*view, Qt::Key_X, QStringLiteral("x"));
        }
        typed = !typed;
    }
}
BENCHMARK(BM_Keystroke)->Unit(benchmark::kMillisecond);

// A new paragraph: the numbers of the list items below it move on.
void BM_EnterInList(benchmark::State& state) {
    auto view = LoadedView();
    bool split = false;
    for (auto _ : state) {
        if (split) {
            Key(*view, Qt::Key_Backspace, QString());
        } else {
            Key(*view, Qt::Key_Return, QStringLiteral("\r"));
        }
        split = !split;
    }
}
BENCHMARK(BM_EnterInList)->Unit(benchmark::kMillisecond);

// What a blink of the caret costs: its rectangle painted with nothing changed.
void BM_IdleRepaint(benchmark::State& state) {
    auto view = LoadedView();
    const QRect caret = view->cursorRect().adjusted(-2, -2, 2, 2);
    for (auto _ : state) {
        view->viewport()->repaint(caret);
    }
}
BENCHMARK(BM_IdleRepaint)->Unit(benchmark::kMillisecond);

// The whole viewport painted with nothing changed, as after scrolling or uncovering it.
void BM_FullRepaint(benchmark::State& state) {
    auto view = LoadedView();
    for (auto _ : state) {
        view->viewport()->repaint();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
