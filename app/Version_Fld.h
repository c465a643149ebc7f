#pragma once
// The About window's version label: it reads "Version" until it opens and
// then shows the application's short version string (the build's version).

#include <QLabel>

namespace ostrel {

class Version_Fld : public QLabel {
    Q_OBJECT
public:
    static constexpr const char* InitialText = "Version";

    explicit Version_Fld(QWidget* parent = nullptr);

    // The label's opening, raised once by its window when the window opens.
    void Open();

    // The version the label shows once open.
    static QString ShortVersion();

signals:
    // Offered to the owner after the label has taken the version.
    void Opened();

protected:
    void Event_Open();

private:
    bool opened_ = false;
};

}  // namespace ostrel
