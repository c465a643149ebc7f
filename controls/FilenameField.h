#pragma once
// The label that shows which local file a transfer reads or writes. It holds
// the chosen file reference and shows the file's bare name, or the text it
// had when it opened while no file is chosen. The name comes from the file
// system and may hold anything, so it is shown as plain text, on one line.

#include "controls/TFTP_Dimmer.h"
#include "platform/FolderItem.h"

#include <QLabel>

namespace ostrel {

class FilenameField : public QLabel, public TFTP_Dimmer {
    Q_OBJECT
public:
    explicit FilenameField(QWidget* parent = nullptr);
    FilenameField(const QString& initialText, QWidget* parent = nullptr);

    // The label's opening: keeps the current text as the text shown without
    // a file, and drops any file. Raised once: by the window when it opens
    // or, failing that, by the first show.
    void Open();

    // Shows `file`'s name, or the initial text when `file` is null.
    void SetFile(FolderItemPtr file);
    FolderItemPtr GetFile() const { return file_; }

    // A dimmed label is drawn disabled; its text and file stay.
    void DimMe(bool dim) override;

    // The text shown for a file name: control characters, which would break
    // the one-line layout or hide parts of the name, become U+FFFD.
    static QString DisplayName(const std::string& name);

signals:
    void Opened();

protected:
    void showEvent(QShowEvent* event) override;

private:
    FolderItemPtr file_;
    QString myInitialText_;
    bool opened_ = false;
};

}  // namespace ostrel
