#include "app/FileTypes.h"

#include <QStringList>

namespace ostrel::FileTypes {

const FileType& AllFiles()
{
    static const FileType type(QStringLiteral("AllFiles"), QStringList(),
                               QString::fromLatin1(FileType::Wildcard),
                               QString::fromLatin1(FileType::Wildcard), QStringLiteral("All Files"));
    return type;
}

const FileType& TextPlain()
{
    static const FileType type(QStringLiteral("text/plain"),
                               {QStringLiteral(".asc"), QStringLiteral(".ascii"),
                                QStringLiteral(".text"), QStringLiteral(".txt")},
                               QStringLiteral("TEXT"), QStringLiteral("ttxt"),
                               QStringLiteral("Text Files"));
    return type;
}

const FileType* Named(const QString& name)
{
    for (const FileType* type : {&AllFiles(), &TextPlain()}) {
        if (type->Name() == name)
            return type;
    }
    return nullptr;
}

QString NameFilters(const std::vector<const FileType*>& types)
{
    QStringList filters;
    for (const FileType* type : types) {
        if (type)
            filters << type->NameFilter();
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace ostrel::FileTypes
