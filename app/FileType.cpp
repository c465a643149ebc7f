#include "app/FileType.h"

#include <QFile>

#include <utility>

namespace ostrel {

FileType::FileType(QString name, QStringList extensions, QString macType, QString macCreator,
                   QString description)
    : name_(std::move(name)),
      extensions_(std::move(extensions)),
      macType_(std::move(macType)),
      macCreator_(std::move(macCreator)),
      description_(std::move(description))
{
}

QString FileType::NameFilter() const
{
    QStringList patterns;
    if (MatchesEverything() || extensions_.isEmpty()) {
        patterns << QStringLiteral("*");
    } else {
        for (const QString& extension : extensions_)
            patterns << QLatin1Char('*') + extension;
    }
    return QStringLiteral("%1 (%2)").arg(description_, patterns.join(QLatin1Char(' ')));
}

bool FileType::Matches(const std::filesystem::path& path) const
{
    if (MatchesEverything())
        return true;
    const QString fileName = QFile::decodeName(path.filename().string().c_str());
    for (const QString& extension : extensions_) {
        if (fileName.size() > extension.size() &&
            fileName.endsWith(extension, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

}  // namespace ostrel
