#pragma once
// A named file type that file dialogs filter by and drop areas accept. A
// type whose Mac file type is the wildcard "????" matches every file; any
// other matches by file name extension, ignoring case.

#include <QString>
#include <QStringList>

#include <filesystem>

namespace ostrel {

class FileType {
public:
    static constexpr const char* Wildcard = "????";

    // `extensions` with their dots (".txt"); `description` is what the file
    // dialog's filter list shows.
    FileType(QString name, QStringList extensions, QString macType, QString macCreator,
             QString description);

    const QString& Name() const { return name_; }
    const QStringList& Extensions() const { return extensions_; }
    const QString& MacType() const { return macType_; }
    const QString& MacCreator() const { return macCreator_; }
    bool MatchesEverything() const { return macType_ == QLatin1String(Wildcard); }

    // The type as a QFileDialog name filter: "All Files (*)",
    // "Text Files (*.asc *.ascii *.text *.txt)".
    QString NameFilter() const;
    bool Matches(const std::filesystem::path& path) const;

private:
    QString name_;
    QStringList extensions_;
    QString macType_;
    QString macCreator_;
    QString description_;
};

}  // namespace ostrel
