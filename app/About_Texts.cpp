#include "app/About_Texts.h"

#include <QStringList>

namespace ostrel::About_Texts {

namespace {

QString Paragraphs(const QStringList& paragraphs) { return paragraphs.join(ParagraphBreak()); }

}  // namespace

QString ParagraphBreak() { return QStringLiteral("\n\n"); }

QString Instructions()
{
    return Paragraphs({
        QString::fromUtf8(
            "All the relevant controls for initiating a transfer are in the TFTP window. You can "
            "create a new TFTP window by choosing \u201C<B>New</B>\u201D from the <U>File</U> "
            "menu."),
        QString::fromUtf8(
            "The TFTP protocol allows you to initiate either a Send or Receive with the TFTP "
            "server. Choose the appropriate option."),
        QString::fromUtf8(
            "The \u201C<B>Address</B>\u201D field allows you to enter the name or address of the "
            "TFTP server."),
        QString::fromUtf8(
            "The \u201C<B>Password</B>\u201D field is optional. Some systems require and will use "
            "a password. Others won\u2019t. Note that a password is not part of the TFTP standard "
            "and will most likely be ignored by most servers."),
        QString::fromUtf8(
            "If you are sending, the \u201C<B>File</B>\u201D button will allow you to choose the "
            "file. You can also drag-and-drop the file onto the window or onto the Ostrel icon."),
        QString::fromUtf8(
            "If you are receiving, the \u201C<B>File</B>\u201D button will allow you to name the "
            "file you wish to receive and tell Ostrel where you want to place it. Note that this "
            "step does not create any file until you actually initiate the transfer."),
        QString::fromUtf8(
            "Certain systems may require a Text transfer rather than the default Binary transfer. "
            "You can switch this setting in the <U>Options</U> menu. Note that no conversion "
            "actually takes place. The transfer is identical as far as Ostrel is concerned. The "
            "setting is simply meant to fool the TFTP server into thinking it is a text "
            "transfer."),
        QString::fromUtf8(
            "When all the settings above are correct, press the \u201C<B>Start</B>\u201D button "
            "to begin the transfer. You can stop the transfer at any time by pressing "
            "\u201C<B>Stop...</B>\u201D."),
        QString::fromUtf8(
            "You can initiate multiple transfers simultaneously to the same server or a different "
            "server. Choose \u201C<B>New</B>\u201D from the <U>File</U> menu to open another TFTP "
            "window and fill in the settings as above."),
    });
}

QString About()
{
    return Paragraphs({
        QStringLiteral(
            "TFTP, or Trivial File Transfer Protocol, is a simple method used to transfer files "
            "from point A to point B. Unlike FTP, it does not include facilities for browsing "
            "directories, creating folders, authenticating users, etc. These days, its primary "
            "use is to transfer files to devices, such as routers, as a means of updating those "
            "devices."),
        QStringLiteral(
            "<B>Ostrel</B> is a TFTP client for your desktop. It allows you to send or receive "
            "files from a TFTP server, perform multiple simultaneous transfers, etc."),
    });
}

QString Acknowledgements()
{
    return Paragraphs({
        QStringLiteral("Ostrel is built on the work of open-source projects. Our thanks go to:"),
        QStringLiteral(
            "<B>Qt</B>, the framework under Ostrel's windows, menus, sockets and timers: "
            "<A HREF=\"https://www.qt.io/\">www.qt.io</A>"),
        QStringLiteral(
            "<B>GoogleTest</B>, which runs Ostrel's tests: "
            "<A HREF=\"https://github.com/google/googletest\">github.com/google/googletest</A>"),
        QStringLiteral(
            "<B>CMake</B> and <B>Ninja</B>, which build it: "
            "<A HREF=\"https://cmake.org/\">cmake.org</A> and "
            "<A HREF=\"https://ninja-build.org/\">ninja-build.org</A>"),
        QStringLiteral(
            "<B>tftp-hpa</B> and <B>tftpd-hpa</B>, the TFTP client and server that Ostrel is "
            "tested and measured against: "
            "<A HREF=\"https://www.kernel.org/pub/software/network/tftp/\">kernel.org</A>"),
    });
}

QString Contact()
{
    return Paragraphs({
        QStringLiteral(
            "Ostrel's home on the web, with news and the latest version: "
            "<A HREF=\"https://ostrel.example.org/\">ostrel.example.org</A>"),
        QStringLiteral(
            "Found a problem or have an idea? Tell us on the issue tracker: "
            "<A HREF=\"https://ostrel.example.org/issues\">ostrel.example.org/issues</A>"),
        QStringLiteral(
            "When you report a problem, please say what you did, what you expected and what "
            "happened instead. If Ostrel showed an error report, press <B>Copy To Clipboard</B> "
            "and paste the report into your message."),
        QStringLiteral(
            "Mail: <A HREF=\"mailto:ostrel@example.org\">ostrel@example.org</A>"),
    });
}

QString Legal()
{
    return Paragraphs({
        QStringLiteral("<B>Ostrel</B> is released under the <U>MIT License</U>."),
        QStringLiteral("Copyright (c) 2026 The Ostrel developers"),
        QStringLiteral(
            "Permission is hereby granted, free of charge, to any person obtaining a copy of this "
            "software and associated documentation files (the \"Software\"), to deal in the "
            "Software without restriction, including without limitation the rights to use, copy, "
            "modify, merge, publish, distribute, sublicense, and/or sell copies of the Software, "
            "and to permit persons to whom the Software is furnished to do so, subject to the "
            "following conditions:"),
        QStringLiteral(
            "The above copyright notice and this permission notice shall be included in all "
            "copies or substantial portions of the Software."),
        QStringLiteral(
            "<B><U>THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND</U></B>, "
            "EXPRESS OR IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY, "
            "FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE AUTHORS "
            "OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER LIABILITY, WHETHER IN "
            "AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM, OUT OF OR IN CONNECTION WITH "
            "THE SOFTWARE OR THE USE OR OTHER DEALINGS IN THE SOFTWARE."),
    });
}

QString Credit()
{
    return QString::fromUtf8(
        "A desktop TFTP client\n"
        "\u00A9 2026 The Ostrel developers. Released under the MIT License.");
}

}  // namespace ostrel::About_Texts
