#include "shell/template_gallery.h"

#include "document/session_folders.h"
#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "engine/prompter.h"
#include "model/node_tree.h"
#include "presets/user_folders.h"
#include "print/page_layout.h"
#include "print/resume_printer.h"
#include "render/resume_view.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace trellic {

namespace {

constexpr qreal kLayoutDpi = 96.0;

QSize ThumbnailSize(int width) {
    const QSizeF inches = PageSetup().paper.size(QPageSize::Inch);
    return {width, qRound(width * inches.height() / inches.width())};
}

// A sheet of paper with nothing on it yet, or with a cross when the file cannot be shown.
QPixmap BlankPage(int width, bool unreadable) {
    QPixmap page(ThumbnailSize(width));
    page.fill(Qt::white);
    QPainter painter(&page);
    painter.setPen(QColor(0xB0, 0xB0, 0xB0));
    painter.drawRect(page.rect().adjusted(0, 0, -1, -1));
    if (unreadable) {
        painter.drawLine(page.rect().topLeft(), page.rect().bottomRight());
        painter.drawLine(page.rect().topRight(), page.rect().bottomLeft());
    }
    return page;
}

} // namespace

QImage FirstPageImage(const RichDocument& document, int width) {
    const PageSetup setup;
    const QSizeF inches = setup.paper.size(QPageSize::Inch);
    const QMarginsF margins = setup.marginsInches;
    const QSizeF area((inches.width() - margins.left() - margins.right()) * kLayoutDpi,
                      (inches.height() - margins.top() - margins.bottom()) * kLayoutDpi);
    const PrintLayout layout(document, area);
    // Painted at twice the size and scaled down, small print stays a texture rather than noise.
    const QSize size = ThumbnailSize(width);
    QImage page(size * 2, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        const qreal scale = page.width() / (inches.width() * kLayoutDpi);
        painter.scale(scale, scale);
        painter.translate(margins.left() * kLayoutDpi, margins.top() * kLayoutDpi);
        if (layout.PageCount() > 0) {
            layout.PaintPage(painter, 0);
        }
    }
    QImage thumbnail = page.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter frame(&thumbnail);
    frame.setPen(QColor(0xB0, 0xB0, 0xB0));
    frame.drawRect(thumbnail.rect().adjusted(0, 0, -1, -1));
    return thumbnail;
}

TemplatePreview LoadTemplatePreview(const std::string& path, const std::string& programFolder,
                                    int width) {
    TemplatePreview preview;
    preview.name = QFile::decodeName(BaseNameOf(path).c_str());
    // A document of its own, as Open reads files, that shows nothing and writes nothing: the
    // template is only looked at.
    NodeTree tree(programFolder);
    HeadlessResumeView view;
    EngineLog log;
    SilentPrompter prompter;
    CTLXDoc doc(tree, view, log, prompter);
    if (!doc.OpenResumeFile(path, false)) {
        return preview;
    }
    if (tree.dataSource == kDataSourceNodes && tree.resume) {
        if (!tree.resume->name.empty()) {
            preview.name = QString::fromStdString(tree.resume->name);
        }
        preview.description = QString::fromStdString(tree.resume->description);
    }
    preview.firstPage = FirstPageImage(view.Buffer().Document(), width);
    return preview;
}

CTemplateGalleryDlg::CTemplateGalleryDlg(const std::vector<std::string>& folders,
                                         std::string programFolder, QWidget* parent)
    : QDialog(parent), m_programFolder(std::move(programFolder)) {
    setWindowTitle(tr("New from Template"));
    setObjectName(QStringLiteral("templateGallery"));

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("templateList"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setMovement(QListView::Static);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setWrapping(true);
    m_list->setWordWrap(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    const QSize icon = ThumbnailSize(kThumbnailWidth);
    m_list->setIconSize(icon);
    m_list->setGridSize(QSize(icon.width() + 40, icon.height() + fontMetrics().height() * 3));
    m_list->setSpacing(4);

    m_description = new QLabel;
    m_description->setObjectName(QStringLiteral("templateDescription"));
    m_description->setWordWrap(true);
    m_description->setTextFormat(Qt::PlainText);
    m_description->setMinimumHeight(fontMetrics().lineSpacing() * 3);
    m_description->setAlignment(Qt::AlignTop | Qt::AlignLeft);

    auto* buttons = new QDialogButtonBox;
    m_open = buttons->addButton(tr("&Open"), QDialogButtonBox::AcceptRole);
    m_open->setObjectName(QStringLiteral("openTemplate"));
    m_open->setDefault(true);
    m_otherFile = buttons->addButton(tr("Open Other &File..."), QDialogButtonBox::ActionRole);
    m_otherFile->setObjectName(QStringLiteral("otherFile"));
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("cancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_description);
    layout->addWidget(buttons);

    const QPixmap blank = BlankPage(kThumbnailWidth, false);
    for (const std::string& path : TemplateFiles(folders)) {
        auto* item = new QListWidgetItem(QIcon(blank), QFile::decodeName(BaseNameOf(path).c_str()));
        item->setToolTip(QFile::decodeName(path.c_str()));
        m_list->addItem(item);
        m_paths.push_back(path);
    }
    m_rendered.assign(m_paths.size(), false);
    if (m_paths.empty()) {
        QStringList shown;
        for (const std::string& folder : folders) {
            shown << QFile::decodeName(folder.c_str());
        }
        m_description->setText(tr("No templates were found in:\n%1").arg(shown.join(u'\n')));
        m_open->setEnabled(false);
    }

    connect(m_list, &QListWidget::currentRowChanged, this, [this] { ShowDescription(); });
    connect(m_list, &QListWidget::itemActivated, this, [this] { Choose(); });
    connect(m_open, &QPushButton::clicked, this, [this] { Choose(); });
    connect(m_otherFile, &QPushButton::clicked, this, [this] { done(kOtherFile); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    // One picture per turn of the event loop, so the window answers while they are painted.
    m_painter = new QTimer(this);
    m_painter->setInterval(0);
    connect(m_painter, &QTimer::timeout, this, [this] {
        if (!RenderNextThumbnail()) {
            m_painter->stop();
        }
    });

    if (!m_paths.empty()) {
        m_list->setCurrentRow(0);
    }
    // Four pages to a row and two rows, beside the list's frame, scroll bar and margins.
    const QFontMetrics metrics = fontMetrics();
    const int chrome = 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width() +
                       layout->contentsMargins().left() + layout->contentsMargins().right() +
                       4 * m_list->spacing() + 2 * metrics.averageCharWidth();
    resize(4 * m_list->gridSize().width() + chrome,
           m_list->gridSize().height() * 2 + metrics.lineSpacing() * 8);
}

int CTemplateGalleryDlg::PendingThumbnails() const {
    return static_cast<int>(std::count(m_rendered.begin(), m_rendered.end(), false));
}

bool CTemplateGalleryDlg::RenderNextThumbnail() {
    const auto next = std::find(m_rendered.begin(), m_rendered.end(), false);
    if (next == m_rendered.end()) {
        return false;
    }
    const auto line = static_cast<std::size_t>(next - m_rendered.begin());
    *next = true;
    const TemplatePreview preview =
        LoadTemplatePreview(m_paths[line], m_programFolder, kThumbnailWidth);
    QListWidgetItem* item = m_list->item(static_cast<int>(line));
    item->setText(preview.name);
    item->setIcon(preview.firstPage.isNull() ? QIcon(BlankPage(kThumbnailWidth, true))
                                             : QIcon(QPixmap::fromImage(preview.firstPage)));
    item->setData(Qt::UserRole, preview.firstPage.isNull()
                                    ? tr("This file cannot be opened as a resume.")
                                    : preview.description);
    if (static_cast<int>(line) == m_list->currentRow()) {
        ShowDescription();
    }
    return true;
}

void CTemplateGalleryDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (PendingThumbnails() > 0) {
        m_painter->start();
    }
}

void CTemplateGalleryDlg::ShowDescription() {
    const QListWidgetItem* item = m_list->currentItem();
    if (item == nullptr) {
        return;
    }
    // The file's name too: a template of the user's may carry the name of the one it was made
    // from.
    const QString file = QFileInfo(item->toolTip()).fileName();
    const QString description = item->data(Qt::UserRole).toString();
    m_description->setText(item->text() + QStringLiteral(" (") + file + QStringLiteral(")\n") +
                           description);
}

void CTemplateGalleryDlg::Choose() {
    const int line = m_list->currentRow();
    if (line < 0 || static_cast<std::size_t>(line) >= m_paths.size()) {
        return;
    }
    m_chosen = m_paths[static_cast<std::size_t>(line)];
    accept();
}

} // namespace trellic
