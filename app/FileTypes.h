#pragma once
// The application's named file types: "AllFiles", which matches any file,
// and "text/plain" (.asc, .ascii, .text, .txt). Made once, on first use.

#include "app/FileType.h"

#include <QString>

#include <vector>

namespace ostrel::FileTypes {

const FileType& AllFiles();
const FileType& TextPlain();

// The type of this name, or null.
const FileType* Named(const QString& name);
// The types' name filters joined for a QFileDialog (";;").
QString NameFilters(const std::vector<const FileType*>& types);

}  // namespace ostrel::FileTypes
