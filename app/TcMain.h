#pragma once

#include <QDialog>

#include <memory>

class QKeyEvent;

namespace velmora {

// The base of every window: Enter moves to the next control, Escape closes,
// the program's font, minimising as one program, and the window's position,
// size and state kept between runs in the main settings file under the
// window's component name (its objectName: "fMain", "fLogin", ...).
class TcMain : public QDialog {
    Q_OBJECT
public:
    // Where a window opens: where its settings put it, or centred after the
    // restore (its stored position then has no effect).
    enum class Placement { Designed, ScreenCentre, DesktopCentre };

    explicit TcMain(QWidget *parent = nullptr);
    ~TcMain() override;

    // Creation, showing and closing handlers; derived windows call the base first.
    virtual void FormCreate();
    virtual void FormShow();
    virtual void FormClose();
    // Asked before the window closes; false keeps it open.
    virtual bool FormCloseQuery();
    // Key preview: sees every key before the focused control; true consumes it.
    virtual bool FormKeyPress(QKeyEvent *event);

    Placement placement() const { return m_placement; }
    void setPlacement(Placement placement) { m_placement = placement; }

    // Edit dialogs keep their designed size: only position and state are restored.
    virtual bool isEditDialog() const { return false; }

    void setVisible(bool visible) override;
    void done(int result) override;

    // The program's font: Tahoma (or its nearest substitute), 11 pixels.
    static QFont programFont();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

    void restoreGeometrySettings();
    void saveGeometrySettings();
    // The control a key being previewed is meant for.
    QWidget *keyTarget() const { return m_keyTarget; }

private:
    void centre();

    Placement m_placement = Placement::Designed;
    QWidget *m_keyTarget = nullptr;
    bool m_closing = false;
};

// Creates a window and runs its creation handler, as the toolkit did.
template <class Window, class... Args>
std::unique_ptr<Window> createForm(Args &&...args)
{
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    window->FormCreate();
    return window;
}

} // namespace velmora
