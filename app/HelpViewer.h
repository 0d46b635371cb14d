#pragma once

#include <QString>

class QWidget;

namespace velmora {

// The program's help: HTML pages in the folder Help/ beside the executable,
// one page per topic ("Dobro.html", "Katalozi.html"), shown in a help window
// of the program.
namespace HelpViewer {

void setHelpFolder(const QString &folder);
QString helpFolder();
QString topicPath(const QString &topic);
// Shows the topic modally over the active window; a missing page is reported
// in the program's message dialog.
void showTopic(const QString &topic, QWidget *parent = nullptr);
// Help contexts are numbers; the program uses 0, the contents.
void showContext(int helpContext, QWidget *parent = nullptr);

} // namespace HelpViewer
} // namespace velmora
