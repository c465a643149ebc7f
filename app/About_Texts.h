#pragma once
// The About window's texts, in the mark-up its panes render (<B>, <I>, <U>,
// <A HREF="...">). Paragraphs are separated by an empty line; no text ends
// with a line ending.

#include <QString>

namespace ostrel::About_Texts {

QString ParagraphBreak();

QString Instructions();
QString About();
QString Acknowledgements();
QString Contact();
QString Legal();
// The credit line under the title: authorship and rights, two lines.
QString Credit();

}  // namespace ostrel::About_Texts
