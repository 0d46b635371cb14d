#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QLabel;
class QPushButton;

// The program's message dialog: icon, word-wrapped text and a row of buttons
// with Serbian captions, in a fixed order, with fixed default and cancel
// buttons, returning the numeric result of the button pressed.
namespace velmora {

enum MsgDlgType { mtWarning = 0, mtError = 1, mtInformation = 2, mtConfirmation = 3, mtCustom = 4 };

enum MsgDlgBtn : int {
    mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
    mbIgnore = 64, mbAll = 128, mbNoToAll = 256, mbYesToAll = 512, mbHelp = 1024,
};
using MsgDlgButtons = int;

enum ModalResult : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
    mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10,
};

// Which texts the dialog wears: the program's own, or the second set used by
// the plain message dialog.
enum class CaptionSet { Program, Plain };

class TMessageForm : public QDialog {
    Q_OBJECT
public:
    TMessageForm(const QString &text, MsgDlgType type, MsgDlgButtons buttons, int helpContext,
                 CaptionSet captions, QWidget *parent = nullptr);

    QString messageText() const;
    QPushButton *defaultButton() const { return m_default; }
    QPushButton *cancelButton() const { return m_cancel; }
    const QList<QPushButton *> &buttons() const { return m_buttons; }

    void reject() override; // the close box answers Cancel (2)

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QString clipboardText() const;

    CaptionSet m_captions;
    int m_helpContext;
    QLabel *m_message = nullptr;
    QList<QPushButton *> m_buttons;
    QPushButton *m_default = nullptr;
    QPushButton *m_cancel = nullptr;
};

int MessageDialog(const QString &text, MsgDlgType type, MsgDlgButtons buttons, int helpContext = 0);
// The same dialog with the second caption set; Ctrl+C copies it as text.
int PlainMessageDialog(const QString &text, MsgDlgType type, MsgDlgButtons buttons, int helpContext = 0);
// The plain dialog of the custom type with the single button "U redu".
void PlainInformationBox(const QString &text);
// "U redu" returns the typed text, "Odustani" or Escape the default unchanged.
QString InputBox(const QString &caption, const QString &prompt, const QString &defaultValue);
// The platform's own message box: caption, exclamation icon, OK.
void PlatformMessageBox(const QString &text, const QString &caption);

} // namespace velmora
