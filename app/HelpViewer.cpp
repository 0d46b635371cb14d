#include "HelpViewer.h"

#include "Globals.h"
#include "TcMain.h"
#include "YUDlg.h"

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace velmora::HelpViewer {
namespace {

QString &folder()
{
    static QString f;
    return f;
}

// The help window: a browser over the help pages, with the common window
// behaviour (Escape closes, geometry kept under "fPomoc").
class TfPomoc : public TcMain {
public:
    explicit TfPomoc(QWidget *parent)
        : TcMain(parent)
    {
        setObjectName(QStringLiteral("fPomoc"));
        setWindowTitle(QStringLiteral("Velmora - Uputstvo"));
        resize(720, 560);
        auto *layout = new QVBoxLayout(this);
        m_browser = new QTextBrowser(this);
        m_browser->setObjectName(QStringLiteral("Browser"));
        m_browser->setOpenExternalLinks(false);
        layout->addWidget(m_browser);
        auto *close = new QPushButton(QStringLiteral("&Zatvori"), this);
        connect(close, &QPushButton::clicked, this, &QDialog::accept);
        layout->addWidget(close, 0, Qt::AlignRight);
    }
    void open(const QString &path)
    {
        m_browser->setSearchPaths({QFileInfo(path).absolutePath()});
        m_browser->setSource(QUrl::fromLocalFile(path));
    }

private:
    QTextBrowser *m_browser;
};

} // namespace

void setHelpFolder(const QString &f)
{
    folder() = f.endsWith(u'/') ? f : f + u'/';
}

QString helpFolder()
{
    return folder().isEmpty() ? Globals.ProgramFolder + QStringLiteral("Help/") : folder();
}

QString topicPath(const QString &topic)
{
    return helpFolder() + topic + QStringLiteral(".html");
}

void showTopic(const QString &topic, QWidget *parent)
{
    const QString path = topicPath(topic);
    if (!QFileInfo::exists(path)) {
        MessageDialog(QStringLiteral("Datoteka pomoći ne postoji:\r%1").arg(path), mtError, mbOK);
        return;
    }
    TfPomoc window(parent ? parent : QApplication::activeWindow());
    window.open(path);
    window.exec();
}

void showContext(int helpContext, QWidget *parent)
{
    Q_UNUSED(helpContext); // every context the program uses is the contents
    showTopic(QStringLiteral("Dobro"), parent);
}

} // namespace velmora::HelpViewer
