#include "controls/TFTP_Dropper.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace ostrel {

TFTP_Dropper::TFTP_Dropper(QWidget* parent) : QFrame(parent) {
    setAcceptDrops(true);
}

void TFTP_Dropper::Open() {
    if (opened_)
        return;
    opened_ = true;
    emit Opened();
}

void TFTP_Dropper::AcceptFileDrop(FileFilter accepts) {
    if (accepts)
        filters_.push_back(std::move(accepts));
}

bool TFTP_Dropper::Accepts(const FolderItem& item) const {
    return filters_.empty() ||
           std::any_of(filters_.begin(), filters_.end(),
                       [&item](const FileFilter& accepts) { return accepts(item); });
}

std::vector<FolderItemPtr> TFTP_Dropper::ItemsOf(const QMimeData& data) const {
    std::vector<FolderItemPtr> items;
    if (!data.hasUrls())
        return items;
    for (const QUrl& url : data.urls()) {
        FolderItemPtr item;
        if (url.isLocalFile()) {
            // The file system's own bytes for the name, not a re-encoding.
            const QByteArray path = QFile::encodeName(url.toLocalFile());
            auto candidate = std::make_shared<FolderItem>(std::filesystem::path(path.toStdString()));
            if (Accepts(*candidate))
                item = std::move(candidate);
        }
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<FolderItemPtr> TFTP_Dropper::TakeAsCopy(QDropEvent& event) const {
    std::vector<FolderItemPtr> items = ItemsOf(*event.mimeData());
    const bool carriesFile = std::any_of(items.begin(), items.end(),
                                         [](const FolderItemPtr& item) { return item != nullptr; });
    if (!carriesFile || !(event.possibleActions() & Qt::CopyAction)) {
        event.ignore();
        return {};
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return items;
}

void TFTP_Dropper::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    Open();
}

void TFTP_Dropper::dragEnterEvent(QDragEnterEvent* event) {
    TakeAsCopy(*event);
}

void TFTP_Dropper::dragMoveEvent(QDragMoveEvent* event) {
    TakeAsCopy(*event);
}

void TFTP_Dropper::dropEvent(QDropEvent* event) {
    const std::vector<FolderItemPtr> items = TakeAsCopy(*event);
    if (!items.empty())
        emit DropObject(items);
}

}  // namespace ostrel
