#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace trellic {

struct RichDocument;

// What the gallery shows of one template: its name, its description and its first page.
struct TemplatePreview {
    QString name;        // the resume's name, else the file's
    QString description; // the resume's description; empty for rich or plain text
    QImage firstPage;    // null when the file cannot be opened as a resume
};

// Reads a template as Open would (the node library below programFolder gives the defaults) and
// paints its first page as Print would print it, width pixels wide. Nothing is written anywhere.
TemplatePreview LoadTemplatePreview(const std::string& path, const std::string& programFolder,
                                    int width);
// The first page of a document on the default paper, width pixels wide, white where empty.
QImage FirstPageImage(const RichDocument& document, int width);

// New from Template: every template of the given folders with a picture of its first page and
// its description. The pictures are painted one at a time once the window is up, so it opens at
// once. Open takes the selected template; "Open Other File..." gives way to the file chooser.
class CTemplateGalleryDlg : public QDialog {
    Q_OBJECT

public:
    // The result of exec() when the user asked for the file chooser instead.
    static constexpr int kOtherFile = 2;
    static constexpr int kThumbnailWidth = 150;

    CTemplateGalleryDlg(const std::vector<std::string>& folders, std::string programFolder,
                        QWidget* parent = nullptr);

    QListWidget* TemplateList() const { return m_list; }
    QLabel* DescriptionLabel() const { return m_description; }
    QPushButton* OpenButton() const { return m_open; }
    QPushButton* OtherFileButton() const { return m_otherFile; }
    // The full path of the template chosen with Open; empty before.
    std::string ChosenPath() const { return m_chosen; }

    // Paints the next picture still missing; false once all are painted.
    bool RenderNextThumbnail();
    int PendingThumbnails() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowDescription();
    void Choose();

    std::string m_programFolder;
    std::vector<std::string> m_paths; // one per line
    std::vector<bool> m_rendered;
    QListWidget* m_list = nullptr;
    QLabel* m_description = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_otherFile = nullptr;
    QTimer* m_painter = nullptr;
    std::string m_chosen;
};

} // namespace trellic
