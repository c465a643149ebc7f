#include "controls/FilenameField.h"

namespace ostrel {

FilenameField::FilenameField(QWidget* parent) : FilenameField(QString(), parent) {}

FilenameField::FilenameField(const QString& initialText, QWidget* parent)
    : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setText(initialText);
}

void FilenameField::Open() {
    if (opened_)
        return;
    opened_ = true;
    myInitialText_ = text();
    SetFile(nullptr);
    emit Opened();
}

void FilenameField::SetFile(FolderItemPtr file) {
    file_ = std::move(file);
    setText(file_ ? DisplayName(file_->Name()) : myInitialText_);
}

void FilenameField::DimMe(bool dim) {
    setEnabled(!dim);
}

QString FilenameField::DisplayName(const std::string& name) {
    QString shown = QString::fromStdString(name);  // UTF-8; invalid bytes become U+FFFD
    for (QChar& c : shown) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return shown;
}

void FilenameField::showEvent(QShowEvent* event) {
    QLabel::showEvent(event);
    Open();
}

}  // namespace ostrel
