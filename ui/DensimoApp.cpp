#include "DensimoApp.h"

#include "DensimoDlg.h"
#include "Look.h"

#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

// Resources compiled into the static UI library must be registered by name.
static void InitResources()
{
    Q_INIT_RESOURCE(densimo);
}

CDensimoApp::CDensimoApp(int& argc, char** argv) : m_app(argc, argv) {}

void CDensimoApp::InitLook()
{
    InitResources();
    look::InstallFontSubstitutions();
}

bool CDensimoApp::InitInstance()
{
    InitLook();
    CDensimoDlg dialog;
    dialog.DoModal();  // accept or cancel: both end the program
    return false;
}

int CDensimoApp::Run()
{
    InitInstance();
    return 0;
}

QString CDensimoApp::Title()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString CDensimoApp::AboutItemText()
{
    return QStringLiteral("Densimo のﾊﾞｰｼﾞｮﾝ情報(&A)...");
}

void CDensimoApp::WarningBox(QWidget* owner, const QString& message)
{
    QMessageBox box(QMessageBox::Warning, Title(), message, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("WarningBox"));
    box.button(QMessageBox::Ok)->setIcon(QIcon());  // a plain OK, as on Windows
    box.exec();
}
