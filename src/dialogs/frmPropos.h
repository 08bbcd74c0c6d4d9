#pragma once

// The about box: title, version and credits, legal and distribution notices, the author's
// address (a click writes to the author) and a button that starts the system information
// tool.

#include <QDialog>
#include <QString>

#include <functional>

class QFrame;
class QLabel;
class QPushButton;

namespace app {
struct Global;
}

namespace dialogs {

class frmPropos : public QDialog {
    Q_OBJECT
public:
    // What the box hands to the system; tests replace these.
    struct Actions {
        // Hands a document or address to the desktop's default action.
        std::function<int(const QString&)> shellOpen;
        // Finds and starts the system information tool; false when it cannot.
        std::function<bool()> startSystemInformation;
        // Shows a message with an OK button, titled with the application title.
        std::function<void(QWidget* owner, const QString& text)> showMessage;
    };

    // The real actions: the desktop shell, the Wine registry of the settings store, a
    // message box.
    static Actions defaultActions(app::Global& global);

    frmPropos(app::Global& global, QWidget* owner = nullptr);
    frmPropos(Actions actions, QWidget* owner = nullptr);

    QLabel* lblTitle;        // the program's name, in red
    QLabel* lblComment;      // one-line comment under the title
    QLabel* lblDescript;     // version and description
    QLabel* picIcon;         // the program's picture
    QLabel* lblCourrier;     // the author's address
    QFrame* Line1;           // separating line
    QFrame* Line2;           // separating line
    QLabel* lblDisclaimer;   // distribution terms
    QPushButton* cmdOK;      // closes the box
    QPushButton* cmdSysInfo; // starts the system-information tool

    void cmdSysInfo_Click();
    void lblCourrier_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void load();

    Actions actions_;
};

} // namespace dialogs
