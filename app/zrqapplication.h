#pragma once
// The application object: its title, and a last guard that shows any error escaping an event
// handler with the general error handler, so that the program goes on.

#include <QApplication>

class TZRQApplication : public QApplication {
public:
    TZRQApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
