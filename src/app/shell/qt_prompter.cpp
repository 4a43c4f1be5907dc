#include "shell/qt_prompter.h"

#include "editors/editor_text.h"
#include "shell/engine_window.h"
#include "shell/template_gallery.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

namespace trellic {

namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Message boxes belong to whatever window the user is working in, so they stay in front of it.
QWidget* Owner() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return QApplication::activeWindow();
}

} // namespace

QtPrompter::QtPrompter(std::string programFolder)
    : m_programFolder(std::move(programFolder)),
      m_openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {}

void QtPrompter::ShowMessage(const std::string& text, MessageIcon icon) {
    ShowText(QString::fromStdString(text), icon);
}

void QtPrompter::ShowText(const QString& text, MessageIcon icon, bool selectable) {
    QMessageBox box(QtIcon(icon), QString::fromLatin1(kMessageCaption), text, QMessageBox::Ok,
                    Owner());
    if (selectable) {
        box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    box.exec();
}

bool QtPrompter::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kMessageCaption),
                    QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No, Owner());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

SaveChoice QtPrompter::AskSaveDiscardCancel(const std::string& text) {
    QMessageBox box(QMessageBox::Question, QString::fromLatin1(kMessageCaption),
                    QString::fromStdString(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, Owner());
    // Enter must never be the answer that throws the changes away.
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

QString QtPrompter::TranslateFilter(const std::string& classic) {
    const QStringList parts = FromEngineText(classic).split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        if (name.isEmpty()) {
            break; // the "||" that ends the list
        }
        QStringList patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            // "*.*" means every file to the classic dialog; here it would miss names without a
            // dot.
            if (pattern == QLatin1String("*.*")) {
                pattern = QStringLiteral("*");
            }
        }
        // The dialog reads the patterns from the parentheses of the name, so the name's own
        // parenthesised list gives way to the real one.
        const qsizetype open = name.lastIndexOf(u'(');
        if (open > 0 && name.endsWith(u')')) {
            name = name.left(open).trimmed();
        }
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(u' '));
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<std::string> QtPrompter::ChooseFile(const FileDialogOptions& options, bool save) {
    QFileDialog dialog(Owner());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !options.fileMustExist ? QFileDialog::AnyFile
                                                      : QFileDialog::ExistingFile);
    if (save && !options.overwritePrompt) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    dialog.setNameFilter(TranslateFilter(options.filter));
    dialog.setDefaultSuffix(QString::fromStdString(options.defaultExtension));
    if (!options.initialFolder.empty()) {
        dialog.setDirectory(QFile::decodeName(options.initialFolder.c_str()));
    }
    // The chooser keeps its places in the toolkit's settings and brings them back next time, so
    // each chooser sets its own: the computer and home as usual, then the folders it was given.
    // Otherwise one chooser's folders would turn up in every later one, of this run and the next.
    QList<QUrl> places{QUrl(QStringLiteral("file:")), QUrl::fromLocalFile(QDir::homePath())};
    for (const std::string& place : options.places) {
        const QUrl url = QUrl::fromLocalFile(QFile::decodeName(place.c_str()));
        if (!places.contains(url)) {
            places << url;
        }
    }
    dialog.setSidebarUrls(places);
    if (!options.initialName.empty()) {
        dialog.selectFile(QFile::decodeName(options.initialName.c_str()));
    }
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = dialog.selectedFiles().constFirst();
        const QFileInfo info(path);
        if (options.pathMustExist && !info.absoluteDir().exists()) {
            continue;
        }
        if (options.noReadOnlyReturn && info.exists() && !info.isWritable()) {
            QMessageBox::warning(&dialog, dialog.windowTitle(),
                                 QObject::tr("%1\nThis file is set to read-only.\nTry again with "
                                             "a different file name.")
                                     .arg(path));
            continue;
        }
        return std::string(QFile::encodeName(path).constData());
    }
    return std::nullopt;
}

std::optional<std::string> QtPrompter::ChooseOpenFile(const FileDialogOptions& options) {
    return ChooseFile(options, false);
}

std::optional<std::string> QtPrompter::ChooseSaveFile(const FileDialogOptions& options) {
    return ChooseFile(options, true);
}

std::optional<std::string> QtPrompter::ChooseTemplate(const std::vector<std::string>& folders,
                                                      const FileDialogOptions& chooser) {
    int result = QDialog::Rejected;
    std::string chosen;
    {
        CTemplateGalleryDlg gallery(folders, m_programFolder, Owner());
        result = gallery.exec();
        chosen = gallery.ChosenPath();
    }
    if (result == QDialog::Accepted) {
        return chosen;
    }
    if (result == CTemplateGalleryDlg::kOtherFile) {
        return ChooseOpenFile(chooser);
    }
    return std::nullopt;
}

QUrl QtPrompter::ResolveAddress(const std::string& address, const std::string& programFolder) {
    const QString text = QString::fromStdString(address);
    const QUrl url(text);
    // A one-letter "scheme" is a drive, not a protocol.
    if (url.isValid() && url.scheme().size() > 1) {
        return url;
    }
    QString path = text;
    QString fragment;
    if (const qsizetype hash = path.indexOf(u'#'); hash >= 0) {
        fragment = path.mid(hash + 1);
        path.truncate(hash);
    }
    if (QFileInfo(path).isRelative()) {
        path = QFile::decodeName(programFolder.c_str()) + u'/' + path;
    }
    QUrl local = QUrl::fromLocalFile(path);
    if (!fragment.isEmpty()) {
        local.setFragment(fragment);
    }
    return local;
}

void QtPrompter::OpenAddress(const std::string& address) {
    // What the browser does with the page is its business; that none could be started is the
    // user's, who would otherwise click and see nothing happen.
    const QUrl url = ResolveAddress(address, m_programFolder);
    if (m_openUrl(url)) {
        return;
    }
    const QString page = url.isLocalFile() ? url.toLocalFile() : url.toString();
    ShowText(QObject::tr("No web browser could be started to show the page. You can open it in "
                         "a browser yourself:\n\n%1")
                 .arg(page),
             MessageIcon::Information, true); // to be copied into a browser by hand
}

void QtPrompter::ShowEngineWindow() {
    if (m_engineWindow) {
        m_engineWindow->ShowNormal();
    }
}

void QtPrompter::OpenNodeEditor(NodeEditor editor) {
    if (m_openNodeEditor) {
        m_openNodeEditor(editor);
    }
}

} // namespace trellic
