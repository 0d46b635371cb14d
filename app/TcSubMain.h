#pragma once

#include "TcMain.h"

#include <QIcon>
#include <QList>

class QAction;
class QLabel;
class QStatusBar;
class QVBoxLayout;

namespace velmora {

// The base of the two menu windows: a four-panel status bar, the two image
// lists of 24x24 icons and the action list whose working action is help (F1).
class TcSubMain : public TcMain {
    Q_OBJECT
public:
    explicit TcSubMain(QWidget *parent = nullptr);

    QStatusBar *sbSubMain = nullptr;
    QList<QIcon> ilLight;
    QList<QIcon> ilDark;
    QList<QAction *> alSubMain;
    QAction *aHelp = nullptr;

    QString panelText(int index) const;
    void setPanelText(int index, const QString &text);

protected:
    // Where a derived window puts its controls, above the status bar.
    QVBoxLayout *clientLayout() const { return m_client; }
    virtual void aHelpExecute();

private:
    QList<QLabel *> m_panels;
    QVBoxLayout *m_client = nullptr;
};

} // namespace velmora
