#pragma once
// The main window's link label as the link's pieces write it (the link window's
// connect, transfer and status display).

#include <QString>

class QLabel;

QLabel* MainLinkLabel();
QString MainLinkText();
void SetMainLabel(const QString& english, const QString& chinese);
