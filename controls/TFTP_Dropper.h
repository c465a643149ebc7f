#pragma once
// The drop area on which a local file can be dropped. It takes drags that
// carry at least one local file (file:// URLs) of a declared kind, and on a
// drop hands its owner every dropped entry in order: a FolderItem for each
// accepted local file or folder, null for an entry without one (a web link,
// a file of a kind not declared). What to do with them is the owner's
// business. A drop is always taken as a copy, so the source never deletes
// what was dragged. Not part of group dimming.

#include "platform/FolderItem.h"

#include <QFrame>

#include <functional>
#include <vector>

class QMimeData;

namespace ostrel {

class TFTP_Dropper : public QFrame {
    Q_OBJECT
public:
    // True for a file (or folder) the area takes.
    using FileFilter = std::function<bool(const FolderItem& item)>;

    explicit TFTP_Dropper(QWidget* parent = nullptr);

    // The area's opening, raised once: by the window when it opens or,
    // failing that, by the first show. The owner declares here what may be
    // dropped.
    void Open();

    // Declares a kind of file that may be dropped. Until the first
    // declaration every local file and folder is taken.
    void AcceptFileDrop(FileFilter accepts);

signals:
    void Opened();
    void DropObject(const std::vector<ostrel::FolderItemPtr>& items);

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool Accepts(const FolderItem& item) const;
    // The entries a drag carries, as DropObject reports them.
    std::vector<FolderItemPtr> ItemsOf(const QMimeData& data) const;
    // Accepts the proposed drag as a copy if it carries a file taken here;
    // returns the entries when it does, nothing otherwise.
    std::vector<FolderItemPtr> TakeAsCopy(QDropEvent& event) const;

    std::vector<FileFilter> filters_;
    bool opened_ = false;
};

}  // namespace ostrel
