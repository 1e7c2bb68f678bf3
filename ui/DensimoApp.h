// CDensimoApp: the application object. It owns the QApplication, sets the
// program's look, and InitInstance runs the main window modally; when the
// window closes the program ends.
#pragma once

#include <QApplication>
#include <QString>

class QWidget;

class CDensimoApp {
public:
    CDensimoApp(int& argc, char** argv);
    virtual ~CDensimoApp() = default;

    // The program's start-up: look, main window run modally, then false so
    // that no further event loop runs. Needs a QApplication.
    static bool InitInstance();

    // Fonts and look shared by every dialog (also for tests).
    static void InitLook();

    // The application's title, the executable's name without its extension
    // ("densimo"; "Densimo" for Densimo.exe). It captions every warning box.
    static QString Title();

    // A modal warning box with the exclamation icon and one OK button.
    static void WarningBox(QWidget* owner, const QString& message);

    // Text of the About item, with A as its access key.
    static QString AboutItemText();

    // Runs InitInstance; the process's exit status.
    int Run();

private:
    QApplication m_app;
};
