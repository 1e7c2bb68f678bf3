// CAboutDlg: the version box, opened from the About item of the main window.
#pragma once

#include <QDialog>

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    int DoModal() { return exec(); }
};
