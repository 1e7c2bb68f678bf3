#include "DensimoDlg.h"

#include "AboutDlg.h"
#include "DensimoApp.h"
#include "Look.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QValidator>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

enum class Kind { Static, Picture, List, Edit, Result, Button };

// One control of the window: id (0 for plain labels), kind, text, and place
// and size in dialog units. The order is the template order, which is also
// the tab order.
struct ControlSpec {
    int id;
    const char* name;  // objectName: the id's name (empty for plain labels)
    Kind kind;
    const char* text;
    int x, y, width, height;
};

constexpr int IDC_LOGO = 2;  // the picture has no id of its own; 2 names it here

// clang-format off
constexpr ControlSpec kControls[] = {
    {IDC_TITLE, "IDC_TITLE", Kind::Static, "『Densimo』", 7, 9, 185, 12},
    {IDC_DESCRIPTION, "IDC_DESCRIPTION", Kind::Static,
     "この密度換算プログラムは、ガラス製密度浮ひょうで測定した値を、JIS K 2249の\n"
     "付表Ⅰ表1A/付表Ⅱ表1B/付表Ⅲ表1Dに基づき15℃の密度に換算しています。", 7, 39, 258, 24},
    {0, "", Kind::Static, "油種の選択", 16, 70, 55, 9},
    {0, "", Kind::Static, "ガラス製浮ひょう読み値(g/cm3)", 16, 93, 109, 9},
    {0, "", Kind::Static, "測定温度(℃)", 16, 116, 61, 9},
    {0, "", Kind::Static, "15℃換算密度(g/cm3)", 16, 139, 92, 9},
    {IDC_BASIS, "IDC_BASIS", Kind::Static,
     "JIS K 2249の15℃換算密度は、原油と燃料油については、\n"
     "ASTM D1250-80(PETROLEUM MEASUREMENT TABLES)に規定する\n"
     "Volume X(Bacground, Development, and Program Documentation)を、\n"
     "潤滑油についてはAPI Manual of Petroleum Measurement Standrads. \n"
     "Chapter11.Section 1,Volume XⅣのAppendix Aに基づいています。", 7, 174, 209, 30},
    // The list's height includes its open list; the closed field is as high
    // as the style draws it.
    {IDC_PRODUCT, "IDC_PRODUCT", Kind::List, nullptr, 149, 68, 59, 67},
    {IDC_READING, "IDC_READING", Kind::Edit, nullptr, 149, 91, 59, 12},
    {IDC_TEMPERATURE, "IDC_TEMPERATURE", Kind::Edit, nullptr, 149, 114, 59, 12},
    {IDC_RESULT, "IDC_RESULT", Kind::Result, nullptr, 149, 134, 59, 17},
    {IDC_CONVERT, "IDC_CONVERT", Kind::Button, "換算", 218, 135, 45, 17},
    {IDC_MAKER, "IDC_MAKER", Kind::Static, "Tavenor", 207, 15, 64, 11},
    {IDC_LOGO, "IDB_LOGO", Kind::Picture, nullptr, 196, 6, 16, 9},
    {IDC_EXIT, "IDC_EXIT", Kind::Button, "終了", 218, 181, 43, 24},
};
// clang-format on

constexpr const char* kProducts[] = {"1A (原油)", "1B (燃料油)", "1D (潤滑油)"};
constexpr int kDialogWidth = 272;   // dialog units
constexpr int kDialogHeight = 213;  // dialog units

QString ObjectName(int id)
{
    for (const ControlSpec& spec : kControls) {
        if (spec.id == id && id != 0) {
            return QLatin1String(spec.name);
        }
    }
    return {};
}

// An edit field without horizontal scrolling takes only as much text as fits
// its width: longer text (typed or pasted) is refused.
class FitWidthValidator : public QValidator {
public:
    explicit FitWidthValidator(QLineEdit* edit) : QValidator(edit), m_edit(edit) {}

    State validate(QString& input, int& /*pos*/) const override
    {
        const int room = Room();
        // Each character is at least a pixel wide: no need to measure a huge paste.
        if (input.size() > room) {
            return Invalid;
        }
        return m_edit->fontMetrics().horizontalAdvance(input) <= room ? Acceptable : Invalid;
    }

private:
    // Width in pixels left for text: the contents rectangle less the text
    // margins, the line edit's fixed 2-pixel side margins and the caret.
    int Room() const
    {
        QStyleOptionFrame option;
        option.initFrom(m_edit);
        option.lineWidth = m_edit->hasFrame() ? m_edit->style()->pixelMetric(
                                                    QStyle::PM_DefaultFrameWidth, &option, m_edit)
                                              : 0;
        const QRect contents = m_edit->style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &option, m_edit)
                                   .marginsRemoved(m_edit->textMargins());
        return contents.width() - 2 * 2 - 1;
    }

    QLineEdit* m_edit;
};

}  // namespace

CDensimoDlg::CDensimoDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_MAIN"));
    setWindowTitle(QStringLiteral("Densimo"));
    // Caption, system menu, minimize box and close box; no maximize box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_hIcon = QIcon(QStringLiteral(":/icons/densimo.svg"));
    for (int size : {16, 32, 48, 256}) {
        m_hIcon.addFile(QStringLiteral(":/icons/densimo-%1.png").arg(size), QSize(size, size));
    }
    // The dialog font: 12 point "ＭＳ Ｐゴシック".
    QFont dialogFont(look::kDialogFace);
    dialogFont.setPointSize(12);
    setFont(dialogFont);
    m_baseUnits = DialogBaseUnits::ForFont(dialogFont);
    look::ApplyDialogColours(this);

    for (const ControlSpec& spec : kControls) {
        const QString text = spec.text != nullptr ? QString::fromUtf8(spec.text) : QString();
        QWidget* widget = nullptr;
        switch (spec.kind) {
            case Kind::Static: {
                auto* label = new QLabel(text, this);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setWordWrap(true);
                widget = label;
                break;
            }
            case Kind::Picture: {
                auto* picture = new QLabel(this);
                picture->setPixmap(QPixmap(QStringLiteral(":/logo.png")));
                widget = picture;
                break;
            }
            case Kind::List: {
                m_comboProduct = new QComboBox(this);
                for (const char* item : kProducts) {
                    m_comboProduct->addItem(QString::fromUtf8(item));
                }
                widget = m_comboProduct;
                break;
            }
            case Kind::Edit: {
                auto* edit = new QLineEdit(this);
                edit->setAlignment(Qt::AlignCenter);
                (spec.id == IDC_READING ? m_editReading : m_editTemperature) = edit;
                widget = edit;
                break;
            }
            case Kind::Result: {
                auto* result = new QLabel(this);
                result->setAlignment(Qt::AlignCenter);
                result->setFrameStyle(QFrame::Panel | QFrame::Sunken);
                // Users copy results into their records.
                result->setTextInteractionFlags(Qt::TextSelectableByMouse);
                result->setContextMenuPolicy(Qt::NoContextMenu);  // the window's menu instead
                widget = result;
                break;
            }
            case Kind::Button: {
                auto* button = new QPushButton(text, this);
                // No default button: Enter in the list or a field does nothing.
                button->setAutoDefault(false);
                button->setDefault(false);
                (spec.id == IDC_CONVERT ? m_buttonConvert : m_buttonExit) = button;
                widget = button;
                break;
            }
        }
        widget->setObjectName(QLatin1String(spec.name));
        QRect rect = m_baseUnits.ToPixels(spec.x, spec.y, spec.width, spec.height);
        if (spec.kind == Kind::List) {
            rect.setHeight(m_comboProduct->sizeHint().height());
        } else if (spec.kind == Kind::Picture) {
            rect.setSize(QSize(36, 17));  // a picture control takes its bitmap's size
        }
        widget->setGeometry(rect);
        switch (spec.id) {
            case IDC_RESULT:
                m_staticResult = static_cast<QLabel*>(widget);
                break;
            case IDC_BASIS:
                m_staticBasis = static_cast<QLabel*>(widget);
                break;
            case IDC_DESCRIPTION:
                m_staticDescription = static_cast<QLabel*>(widget);
                break;
            case IDC_TITLE:
                m_staticTitle = static_cast<QLabel*>(widget);
                break;
            case IDC_MAKER:
                m_staticMaker = static_cast<QLabel*>(widget);
                break;
            default:
                break;
        }
    }
    // The temperature field does not scroll; the reading field does.
    m_editTemperature->setValidator(new FitWidthValidator(m_editTemperature));
    setTabOrder(m_comboProduct, m_editReading);
    setTabOrder(m_editReading, m_editTemperature);
    setTabOrder(m_editTemperature, m_buttonConvert);
    setTabOrder(m_buttonConvert, m_buttonExit);

    connect(m_buttonConvert, &QPushButton::clicked, this, &CDensimoDlg::OnConvert);
    connect(m_buttonExit, &QPushButton::clicked, this, &CDensimoDlg::OnExit);
    connect(m_editReading, &QLineEdit::textChanged, this, &CDensimoDlg::OnInputChanged);
    connect(m_editTemperature, &QLineEdit::textChanged, this, &CDensimoDlg::OnInputChanged);
    connect(m_comboProduct, &QComboBox::currentIndexChanged, this, &CDensimoDlg::OnInputChanged);

    setFixedSize(m_baseUnits.ToPixels(kDialogWidth, kDialogHeight));
    // Centred in the available area of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    OnInitDialog();
}

CDensimoDlg::~CDensimoDlg() = default;

void CDensimoDlg::OnInitDialog()
{
    UpdateData(false);  // item 0 selected, both fields empty
    AddAboutToSystemMenu();
    setWindowIcon(m_hIcon);

    // Fixed pixel heights for title, maker and result; the text font is
    // 9.5 point and so follows the screen's resolution.
    m_pFontTitle = std::make_unique<QFont>(look::PixelFont(look::kDialogFace, 16, 700));
    m_pFontMaker = std::make_unique<QFont>(look::PixelFont(look::kDialogFace, 12, 700));
    m_pFontResult = std::make_unique<QFont>(look::PixelFont(look::kDialogFace, 28, 500));
    // 9.5 point as a character height in whole pixels: 12 at 96 dots per inch.
    const int textPixels = logicalDpiY() * 95 / 720;
    m_pFontText = std::make_unique<QFont>(look::PixelFont(look::kDialogFace, textPixels, 400));
    m_staticTitle->setFont(*m_pFontTitle);
    m_staticMaker->setFont(*m_pFontMaker);
    m_staticResult->setFont(*m_pFontResult);
    m_staticDescription->setFont(*m_pFontText);
    m_staticBasis->setFont(*m_pFontText);

    UpdateData(false);
    m_brushInput = QBrush(look::kInputYellow);
    OnCtlColor();
    m_comboProduct->setFocus();
}

void CDensimoDlg::UpdateData(bool saveAndValidate)
{
    if (saveAndValidate) {
        m_nProduct = m_comboProduct->currentIndex();
        m_strTemperature = m_editTemperature->text();
        m_strReading = m_editReading->text();
        return;
    }
    m_bExchanging = true;
    m_comboProduct->setCurrentIndex(m_nProduct);
    m_editTemperature->setText(m_strTemperature);
    m_editReading->setText(m_strReading);
    m_bExchanging = false;
}

// Colours of the controls: light-yellow fields and result, the result and the
// maker's name in blue; everything else keeps the white dialog look.
void CDensimoDlg::OnCtlColor()
{
    const QPalette system = QApplication::palette();

    QPalette maker = m_staticMaker->palette();
    maker.setColor(QPalette::WindowText, look::kBlue);
    m_staticMaker->setPalette(maker);

    for (QLineEdit* edit : {m_editReading, m_editTemperature}) {
        QPalette palette = edit->palette();
        palette.setBrush(QPalette::Base, m_brushInput);
        palette.setColor(QPalette::Text, system.color(QPalette::Text));
        edit->setPalette(palette);
    }

    QPalette list = m_comboProduct->palette();
    list.setBrush(QPalette::Base, m_brushInput);
    list.setBrush(QPalette::Button, m_brushInput);
    m_comboProduct->setPalette(list);
    // The open list keeps the system colours.
    QPalette popup = system;
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Button, QPalette::Window,
                                     QPalette::Text, QPalette::WindowText}) {
        popup.setBrush(role, system.brush(role));
    }
    m_comboProduct->view()->setPalette(popup);

    QPalette result = m_staticResult->palette();
    result.setBrush(QPalette::Window, m_brushInput);
    result.setColor(QPalette::WindowText, look::kBlue);
    m_staticResult->setPalette(result);
    m_staticResult->setAutoFillBackground(true);
}

void CDensimoDlg::OnInputChanged()
{
    if (!m_bExchanging) {
        m_staticResult->setText(QString());
    }
}

void CDensimoDlg::OnExit()
{
    UpdateData(true);
    accept();
}

QWidget* CDensimoDlg::Control(int id) const
{
    return findChild<QWidget*>(ObjectName(id), Qt::FindDirectChildrenOnly);
}

QString CDensimoDlg::ResultText() const
{
    return m_staticResult->text();
}

void CDensimoDlg::ShowWarning(const QString& message)
{
    CDensimoApp::WarningBox(this, message);
}

void CDensimoDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Enter:
        case Qt::Key_Return:
            // A focused push button is pressed; in the list or a field nothing happens.
            if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
                button->click();
            }
            event->accept();
            return;
        case Qt::Key_F1:
            event->accept();  // no help file ships
            return;
        case Qt::Key_F10:
            if (event->modifiers() == Qt::ShiftModifier) {
                QWidget* at = focusWidget() != nullptr ? focusWidget() : this;
                QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, at->rect().center(),
                                            at->mapToGlobal(at->rect().center()));
                contextMenuEvent(&menuEvent);
                return;
            }
            break;
        default:
            break;
    }
    QDialog::keyPressEvent(event);  // Escape closes through reject()
}

QMenu* CDensimoDlg::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    if (!ResultText().isEmpty()) {
        menu->addAction(QStringLiteral("結果をコピー"), this, &CDensimoDlg::CopyResult);
    }
#ifndef Q_OS_WIN
    // Window managers own the system menu here: the About item comes in the
    // window's own menu, after a separator, as it ends the system menu on Windows.
    menu->addSeparator();
    menu->addAction(CDensimoApp::AboutItemText(), this, [this] { OnSysCommand(IDM_ABOUTBOX); });
#endif
    return menu;
}

void CDensimoDlg::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (menu->isEmpty()) {
        delete menu;
        return;
    }
    menu->popup(event->globalPos());
    event->accept();
}

void CDensimoDlg::CopyResult()
{
    if (!ResultText().isEmpty()) {
        QGuiApplication::clipboard()->setText(ResultText());
    }
}

bool CDensimoDlg::OnSysCommand(unsigned id)
{
    if ((id & 0xFFF0U) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.DoModal();
        return true;
    }
    return false;
}

#ifdef Q_OS_WIN
void CDensimoDlg::AddAboutToSystemMenu()
{
    const QString text = CDensimoApp::AboutItemText();
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    if (menu != nullptr && !text.isEmpty()) {
        const std::wstring wide = text.toStdWString();
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, wide.c_str());
    }
}

bool CDensimoDlg::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const auto* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && OnSysCommand(static_cast<unsigned>(msg->wParam))) {
        *result = 0;
        return true;
    }
    return QDialog::nativeEvent(eventType, message, result);
}
#else
void CDensimoDlg::AddAboutToSystemMenu() {}
#endif
