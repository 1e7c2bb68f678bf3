// CDensimoDlg: the main conversion window.
//
// Architecture map
//   calc/   GUI-free core (densimo_core): CRoundOff, CDensityCalc and the
//           conversion procedure (ValidateTexts, ConvertAccepted, FixedText).
//   ui/     this window and its application shell, a thin layer over calc/:
//             DensimoApp      CDensimoApp: QApplication, fonts, InitInstance
//             DensimoDlg      this class: controls, fonts, colours, keys,
//                             stale-result clearing, context menu
//             DensimoDlgConvert  ValidateInputs and OnConvert (the convert button)
//             AboutDlg        CAboutDlg, the version box
//             DialogUnits     dialog units to pixels
//   cli/    densimo-cli, the same core for batch work.
//
// A conversion: button 1005 -> OnConvert -> UpdateData(true) copies the list
// index and both texts into m_nProduct, m_strReading, m_strTemperature ->
// ValidateInputs (warning box on refusal) -> densimo::ConvertAccepted ->
// the result text goes into the result display 1004. Any user change of the
// product or of either text empties the display again (OnInputChanged).
#pragma once

#include "DialogUnits.h"

#include <QBrush>
#include <QDialog>
#include <QIcon>
#include <QString>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

// Control ids of the main window; each control's objectName is its id name.
enum : int {
    IDC_PRODUCT = 1000,
    IDC_READING = 1001,
    IDC_TEMPERATURE = 1002,
    IDC_RESULT = 1004,
    IDC_CONVERT = 1005,
    IDC_MAKER = 1007,
    IDC_TITLE = 1009,
    IDC_DESCRIPTION = 1010,
    IDC_BASIS = 1011,
    IDC_EXIT = 1012,
};

// System-menu command of the About item; Windows keeps the low four bits.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

class CDensimoDlg : public QDialog {
    Q_OBJECT

public:
    explicit CDensimoDlg(QWidget* parent = nullptr);
    ~CDensimoDlg() override;

    // Runs the window modally; the result (accepted or cancelled) is returned.
    int DoModal() { return exec(); }

    // Copies the controls into the members (true) or the members into the
    // controls (false). Control notifications are ignored while it runs.
    void UpdateData(bool saveAndValidate);

    // The conversion of the convert button.
    int ValidateInputs();
    void OnConvert();

    // System-menu commands: every id whose masked value is IDM_ABOUTBOX opens
    // the About box; returns false for the commands it leaves to the system.
    bool OnSysCommand(unsigned id);

    // The control with the given id (for layout and tests).
    QWidget* Control(int id) const;
    // Base units of the dialog font.
    const DialogBaseUnits& BaseUnits() const { return m_baseUnits; }
    // The text of the result display.
    QString ResultText() const;
    // The window's context menu as it would open now (the caller owns it).
    QMenu* CreateContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void OnInitDialog();
    void OnInputChanged();
    void OnExit();
    void OnCtlColor();
    void CopyResult();
    void ShowWarning(const QString& message);
    void AddAboutToSystemMenu();

    QBrush m_brushInput;
    QLabel* m_staticResult = nullptr;
    QLabel* m_staticBasis = nullptr;
    QLabel* m_staticDescription = nullptr;
    QLabel* m_staticTitle = nullptr;
    QLabel* m_staticMaker = nullptr;
    int m_nProduct = 0;
    QString m_strTemperature;
    QString m_strReading;
    QIcon m_hIcon;
    double m_dTemperature = 0.0;  // degC, the accepted temperature
    double m_dReading = 0.0;      // g/cm3, the accepted reading
    std::unique_ptr<QFont> m_pFontResult;
    std::unique_ptr<QFont> m_pFontMaker;
    std::unique_ptr<QFont> m_pFontTitle;
    std::unique_ptr<QFont> m_pFontText;

    QComboBox* m_comboProduct = nullptr;
    QLineEdit* m_editReading = nullptr;
    QLineEdit* m_editTemperature = nullptr;
    QPushButton* m_buttonConvert = nullptr;
    QPushButton* m_buttonExit = nullptr;
    DialogBaseUnits m_baseUnits;
    bool m_bExchanging = false;  // true while UpdateData writes the controls
};
