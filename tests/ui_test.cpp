// Widget tests of the main window and the About box, driven through the real
// widgets on the offscreen platform. A watchdog fails a test on any modal box
// it did not expect, instead of letting the box block the run.
#include "AboutDlg.h"
#include "DensimoApp.h"
#include "DensimoDlg.h"
#include "DialogUnits.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// Polls for modal windows. The next expected one goes to the handler set by
// Expect (which must close it); any other is recorded and closed.
class ModalWatchdog : public QObject {
public:
    ModalWatchdog()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalWatchdog::Check);
        m_timer.start(10);
    }

    void Expect(std::function<void(QWidget*)> handler) { m_handler = std::move(handler); }
    bool Pending() const { return static_cast<bool>(m_handler); }
    QStringList TakeUnexpected() { return std::exchange(m_unexpected, {}); }

private:
    void Check()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == m_busy) {
            return;
        }
        m_busy = modal;
        if (m_handler) {
            auto handler = std::move(m_handler);
            m_handler = nullptr;
            handler(modal);
        } else {
            QString what = QString::fromLatin1(modal->metaObject()->className());
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                what += QStringLiteral(": ") + box->text();
            }
            m_unexpected << what;
            modal->close();
        }
        m_busy = nullptr;
    }

    QTimer m_timer;
    std::function<void(QWidget*)> m_handler;
    QStringList m_unexpected;
    QWidget* m_busy = nullptr;
};

// Text typed as a user types it; other text (Japanese, control characters)
// arrives as an input-method commit, the way an input method delivers it.
void Type(QWidget* widget, const QString& text)
{
    bool printableLatin1 = true;
    for (QChar c : text) {
        printableLatin1 =
            printableLatin1 && c.unicode() >= 0x20 && c.unicode() < 0x100 && c.unicode() != 0x7F;
    }
    if (printableLatin1) {
        QTest::keyClicks(widget, text);
        return;
    }
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QApplication::sendEvent(widget, &commit);
}

struct Seen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
};

}  // namespace

class UiTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ModalWatchdog> m_watchdog;
    std::unique_ptr<CDensimoDlg> m_dlg;

    QComboBox* Product() const { return static_cast<QComboBox*>(m_dlg->Control(IDC_PRODUCT)); }
    QLineEdit* Reading() const { return static_cast<QLineEdit*>(m_dlg->Control(IDC_READING)); }
    QLineEdit* Temperature() const
    {
        return static_cast<QLineEdit*>(m_dlg->Control(IDC_TEMPERATURE));
    }
    QPushButton* Button(int id) const { return static_cast<QPushButton*>(m_dlg->Control(id)); }

    // Picks the product with the keyboard, types both values, clicks convert.
    void Enter(int product, const QString& reading, const QString& temperature)
    {
        Product()->setFocus();
        while (Product()->currentIndex() < product) {
            QTest::keyClick(Product(), Qt::Key_Down);
        }
        while (Product()->currentIndex() > product) {
            QTest::keyClick(Product(), Qt::Key_Up);
        }
        Reading()->setFocus();
        Reading()->selectAll();
        QTest::keyClick(Reading(), Qt::Key_Delete);
        Type(Reading(), reading);
        Temperature()->setFocus();
        Temperature()->selectAll();
        QTest::keyClick(Temperature(), Qt::Key_Delete);
        Type(Temperature(), temperature);
    }

    void Convert() { QTest::mouseClick(Button(IDC_CONVERT), Qt::LeftButton); }

    // Expects one warning box, records it and presses its OK button.
    Seen ExpectWarning(const std::function<void()>& action)
    {
        Seen seen;
        m_watchdog->Expect([&seen](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr) {
                modal->close();
                return;
            }
            seen = {box->windowTitle(), box->text(), box->icon(),
                    static_cast<int>(box->standardButtons())};
            box->button(QMessageBox::Ok)->click();
        });
        action();
        return seen;
    }

private slots:
    void initTestCase() { CDensimoApp::InitLook(); }

    void init()
    {
        m_watchdog = std::make_unique<ModalWatchdog>();
        m_dlg = std::make_unique<CDensimoDlg>();
        m_dlg->show();
        m_dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
    }

    void cleanup()
    {
        m_dlg.reset();
        const QStringList unexpected = m_watchdog->TakeUnexpected();
        const bool pending = m_watchdog->Pending();
        m_watchdog.reset();
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(QStringLiteral("; "))));
        QVERIFY2(!pending, "an expected modal box never came");
    }

    void theWatchdogClosesAnUnexpectedBoxInsteadOfHanging()
    {
        Enter(0, QStringLiteral("0.611"), QStringLiteral("20"));
        Convert();  // a warning nobody expects
        const QStringList unexpected = m_watchdog->TakeUnexpected();
        QCOMPARE(unexpected.size(), 1);
        QVERIFY(unexpected[0].contains(QStringLiteral("密度範囲は 0.6120 ～ 1.0740 です")));
    }

    void startState()
    {
        QCOMPARE(Product()->currentText(), QStringLiteral("1A (原油)"));
        QCOMPARE(Product()->count(), 3);
        QCOMPARE(Product()->itemText(1), QStringLiteral("1B (燃料油)"));
        QCOMPARE(Product()->itemText(2), QStringLiteral("1D (潤滑油)"));
        QVERIFY(Reading()->text().isEmpty());
        QVERIFY(Temperature()->text().isEmpty());
        QVERIFY(m_dlg->ResultText().isEmpty());
        QCOMPARE(m_dlg->focusWidget(), Product());
        QCOMPARE(m_dlg->windowTitle(), QStringLiteral("Densimo"));
        QVERIFY(!m_dlg->windowIcon().isNull());
    }

    void tabOrderFollowsTheTemplate()
    {
        const QList<QWidget*> expected = {Reading(), Temperature(), Button(IDC_CONVERT),
                                          Button(IDC_EXIT), Product()};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_dlg.get(),
                            Qt::Key_Tab);
            QCOMPARE(m_dlg->focusWidget(), next);
        }
    }

    void convertsThroughTheWidgets_data()
    {
        QTest::addColumn<int>("product");
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1A at 20") << 0 << "0.8500"
                                  << "20"
                                  << "0.8535";
        QTest::newRow("1B at 30") << 1 << "0.8500"
                                  << "30"
                                  << "0.8603";
        QTest::newRow("1D at 40") << 2 << "0.9000"
                                  << "40"
                                  << "0.9152";
        QTest::newRow("1B transition") << 1 << "0.7800"
                                       << "25"
                                       << "0.7874";
        QTest::newRow("1B cold") << 1 << "0.7000"
                                 << "5"
                                 << "0.6908";
        QTest::newRow("1A at 15") << 0 << "0.8500"
                                  << "15"
                                  << "0.8500";
        QTest::newRow("1D unconverted") << 2 << "0.5000"
                                        << "20"
                                        << "0.4999";
        QTest::newRow("1D rounds up") << 2 << "0.2080"
                                      << "25"
                                      << "0.2080";
        QTest::newRow("1D at 120") << 2 << "0.2080"
                                   << "120"
                                   << "0.2075";
        QTest::newRow("trailing letters") << 0 << "0.85abc"
                                          << " 20x"
                                          << "0.8535";
        QTest::newRow("d exponent") << 0 << "8.5d-1"
                                    << "20"
                                    << "0.8535";
        QTest::newRow("upper bound") << 0 << "0.8500"
                                     << "150"
                                     << "0.9375";
        QTest::newRow("full-width temperature (0 degC)") << 0 << "0.8500"
                                                         << "２０"
                                                         << "0.8394";
    }

    void convertsThroughTheWidgets()
    {
        QFETCH(int, product);
        QFETCH(QString, reading);
        QFETCH(QString, temperature);
        QFETCH(QString, shown);
        Enter(product, reading, temperature);
        QCOMPARE(Reading()->text(), reading);
        QCOMPARE(Temperature()->text(), temperature);
        Convert();
        QCOMPARE(m_dlg->ResultText(), shown);
    }

    void refusedValuesShowTheWarning_data()
    {
        QTest::addColumn<int>("product");
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("message");
        const QString density1A = QStringLiteral("密度範囲は 0.6120 ～ 1.0740 です");
        const QString temperature1A = QStringLiteral("温度範囲は -18.00 ～ 150.00 です");
        QTest::newRow("1A low") << 0 << "0.611"
                                << "20" << density1A;
        QTest::newRow("1A comma") << 0 << "0,85"
                                  << "20" << density1A;
        QTest::newRow("1A cold") << 0 << "0.8500"
                                 << "-19" << temperature1A;
        QTest::newRow("1A hot") << 0 << "0.8500"
                                << "150.01" << temperature1A;
        QTest::newRow("both wrong") << 0 << "0.5"
                                    << "500" << density1A;
        QTest::newRow("1B empty") << 1 << ""
                                  << "20" << QStringLiteral("密度範囲は 0.6530～1.0730 です");
        QTest::newRow("1B cold") << 1 << "0.8500"
                                 << "-18.5" << temperature1A;
        QTest::newRow("1D low") << 2 << "0.2"
                                << "20" << QStringLiteral("密度範囲は 0.2080 ～ 1.1640 です");
        QTest::newRow("1D cold") << 2 << "0.9000"
                                 << "-21" << QStringLiteral("温度範囲は -20 ～ 150 です");
        QTest::newRow("full-width reading") << 0 << "０.８５"
                                            << "20" << density1A;
    }

    void refusedValuesShowTheWarning()
    {
        QFETCH(int, product);
        QFETCH(QString, reading);
        QFETCH(QString, temperature);
        QFETCH(QString, message);
        Enter(product, reading, temperature);
        const Seen seen = ExpectWarning([this] { Convert(); });
        QCOMPARE(seen.text, message);
        QCOMPARE(seen.icon, QMessageBox::Warning);
        QCOMPARE(seen.buttons, static_cast<int>(QMessageBox::Ok));
        QCOMPARE(seen.title, QStringLiteral("ui_tests"));  // the executable's name
        QVERIFY(m_dlg->ResultText().isEmpty());
        QVERIFY(m_dlg->isVisible());
    }

    void enterInTheListOrAFieldDoesNothing()
    {
        Enter(0, QStringLiteral("0.8500"), QStringLiteral("20"));
        for (QWidget* widget : {static_cast<QWidget*>(Product()), static_cast<QWidget*>(Reading()),
                                static_cast<QWidget*>(Temperature())}) {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Return);
            QTest::keyClick(widget, Qt::Key_Enter);
            QVERIFY(m_dlg->ResultText().isEmpty());
            QVERIFY(m_dlg->isVisible());
        }
        // On a push button, Enter and Space press it.
        Button(IDC_CONVERT)->setFocus();
        QTest::keyClick(Button(IDC_CONVERT), Qt::Key_Return);
        QCOMPARE(m_dlg->ResultText(), QStringLiteral("0.8535"));
        QTest::keyClick(Reading(), Qt::Key_End);
        Reading()->setFocus();
        QTest::keyClick(Reading(), Qt::Key_Backspace);  // clears the result
        Button(IDC_CONVERT)->setFocus();
        QTest::keyClick(Button(IDC_CONVERT), Qt::Key_Space);
        QCOMPARE(m_dlg->ResultText(), QStringLiteral("0.8535"));  // 0.850 at 20
        Button(IDC_EXIT)->setFocus();
        QTest::keyClick(Button(IDC_EXIT), Qt::Key_Return);
        QVERIFY(!m_dlg->isVisible());
    }

    void anyUserChangeEmptiesTheResult()
    {
        struct Change {
            const char* name;
            std::function<void()> act;
            bool clears;
        };
        const std::vector<Change> changes = {
            {"type a digit", [this] { QTest::keyClick(Reading(), Qt::Key_0); }, true},
            {"backspace", [this] { QTest::keyClick(Temperature(), Qt::Key_Backspace); }, true},
            {"paste",
             [this] {
                 QGuiApplication::clipboard()->setText(QStringLiteral("1"));
                 Temperature()->paste();
             },
             true},
            {"cut",
             [this] {
                 Reading()->selectAll();
                 Reading()->cut();
             },
             true},
            {"undo",
             [this] {
                 QTest::keyClick(Reading(), Qt::Key_0);
                 m_dlg->OnConvert();
                 QTest::keyClick(Reading(), Qt::Key_Z, Qt::ControlModifier);
             },
             true},
            {"choose another product", [this] { QTest::keyClick(Product(), Qt::Key_Down); }, true},
            {"caret moves",
             [this] {
                 QTest::keyClick(Reading(), Qt::Key_Left);
                 QTest::keyClick(Reading(), Qt::Key_Home);
                 QTest::keyClick(Temperature(), Qt::Key_End);
             },
             false},
            {"data exchange", [this] { m_dlg->UpdateData(false); }, false},
            {"F1", [this] { QTest::keyClick(Reading(), Qt::Key_F1); }, false},
        };
        for (const Change& change : changes) {
            Enter(0, QStringLiteral("0.8500"), QStringLiteral("20"));
            Convert();
            QCOMPARE(m_dlg->ResultText(), QStringLiteral("0.8535"));
            change.act();
            QVERIFY2(m_dlg->ResultText().isEmpty() == change.clears, change.name);
        }
    }

    void escapeExitAndCloseEndTheWindow()
    {
        QTest::keyClick(Product(), Qt::Key_Escape);
        QVERIFY(!m_dlg->isVisible());
        QCOMPARE(m_dlg->result(), static_cast<int>(QDialog::Rejected));

        m_dlg->show();
        QTest::mouseClick(Button(IDC_EXIT), Qt::LeftButton);
        QVERIFY(!m_dlg->isVisible());
        QCOMPARE(m_dlg->result(), static_cast<int>(QDialog::Accepted));

        m_dlg->show();
        m_dlg->close();  // the caption's close box
        QVERIFY(!m_dlg->isVisible());
        QCOMPARE(m_dlg->result(), static_cast<int>(QDialog::Rejected));
    }

    void initInstanceRunsTheWindowModallyAndEnds()
    {
        bool sawWindow = false;
        m_watchdog->Expect([&sawWindow](QWidget* modal) {
            sawWindow = qobject_cast<CDensimoDlg*>(modal) != nullptr;
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QCOMPARE(CDensimoApp::InitInstance(), false);
        QVERIFY(sawWindow);
    }

    void contextMenuOffersCopyAndAbout()
    {
        std::unique_ptr<QMenu> menu(m_dlg->CreateContextMenu());
        QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 2);  // no result: separator and About
        QVERIFY(actions[0]->isSeparator());
        QCOMPARE(actions[1]->text(), QStringLiteral("Densimo のﾊﾞｰｼﾞｮﾝ情報(&A)..."));

        Enter(1, QStringLiteral("0.7800"), QStringLiteral("25"));
        Convert();
        menu.reset(m_dlg->CreateContextMenu());
        actions = menu->actions();
        QCOMPARE(actions.size(), 3);
        QCOMPARE(actions[0]->text(), QStringLiteral("結果をコピー"));
        QVERIFY(actions[1]->isSeparator());
        QGuiApplication::clipboard()->clear();
        actions[0]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("0.7874"));

        // Shift+F10 opens it from the keyboard.
        QTest::keyClick(Reading(), Qt::Key_F10, Qt::ShiftModifier);
        QWidget* popup = QApplication::activePopupWidget();
        QVERIFY(qobject_cast<QMenu*>(popup) != nullptr);
        popup->close();
    }

    void theResultCanBeSelectedWithTheMouse()
    {
        auto* result = static_cast<QLabel*>(m_dlg->Control(IDC_RESULT));
        QVERIFY(result->textInteractionFlags() & Qt::TextSelectableByMouse);
    }

    void aboutBoxOpensForEveryMaskedIdAndLeavesTheWindowAlone()
    {
        Enter(1, QStringLiteral("0.7800"), QStringLiteral("25"));
        Convert();
        for (unsigned id = 0x0010; id <= 0x001F; ++id) {
            QString title, version;
            bool okDefault = false;
            m_watchdog->Expect([&](QWidget* modal) {
                auto* about = qobject_cast<CAboutDlg*>(modal);
                if (about == nullptr) {
                    modal->close();
                    return;
                }
                title = about->windowTitle();
                version = about->findChild<QLabel*>(QStringLiteral("VersionLabel"))->text();
                auto* ok = about->findChild<QPushButton*>(QStringLiteral("IDOK"));
                okDefault = ok->isDefault();
                QTest::keyClick(ok, id % 2 == 0 ? Qt::Key_Return : Qt::Key_Escape);
            });
            QVERIFY(m_dlg->OnSysCommand(id));
            QCOMPARE(title, QStringLiteral("Densimoのﾊﾞｰｼﾞｮﾝ情報"));
            QCOMPARE(version, QStringLiteral("Densimo Version 1.00"));
            QVERIFY(okDefault);
        }
        QVERIFY(!m_dlg->OnSysCommand(0x0020));
        QVERIFY(!m_dlg->OnSysCommand(0xF060));  // close: left to the system
        QVERIFY(m_dlg->isVisible());
        QCOMPARE(m_dlg->ResultText(), QStringLiteral("0.7874"));
        QCOMPARE(Reading()->text(), QStringLiteral("0.7800"));
        QCOMPARE(Product()->currentIndex(), 1);
    }

    void dialogUnitsConvertAsWindowsDoes()
    {
        QCOMPARE(DialogBaseUnits::MulDiv(7, 9, 4), 16);  // 15.75
        QCOMPARE(DialogBaseUnits::MulDiv(5, 3, 2), 8);   // 7.5 rounds away from zero
        QCOMPARE(DialogBaseUnits::MulDiv(-5, 3, 2), -8);
        const DialogBaseUnits units{8, 16};  // a common 12-point dialog font
        QCOMPARE(units.ToPixels(149, 68, 59, 12), QRect(298, 136, 118, 24));
        QCOMPARE(units.ToPixels(272, 213), QSize(544, 426));
    }

    void controlsSitWhereTheTemplatePutsThem()
    {
        struct Place {
            int id;
            int x, y, width, height;  // dialog units
        };
        const Place places[] = {
            {IDC_TITLE, 7, 9, 185, 12},          {IDC_DESCRIPTION, 7, 39, 258, 24},
            {IDC_BASIS, 7, 174, 209, 30},        {IDC_READING, 149, 91, 59, 12},
            {IDC_TEMPERATURE, 149, 114, 59, 12}, {IDC_RESULT, 149, 134, 59, 17},
            {IDC_CONVERT, 218, 135, 45, 17},     {IDC_MAKER, 207, 15, 64, 11},
            {IDC_EXIT, 218, 181, 43, 24},
        };
        const DialogBaseUnits units = m_dlg->BaseUnits();
        // The base units come from the dialog font.
        QCOMPARE(units.y, QFontMetrics(m_dlg->font()).height());
        QVERIFY(units.x > 4 && units.x < 16);
        for (const Place& p : places) {
            QCOMPARE(m_dlg->Control(p.id)->geometry(), units.ToPixels(p.x, p.y, p.width, p.height));
        }
        const QRect list = Product()->geometry();
        QCOMPARE(list.topLeft(), units.ToPixels(149, 68, 59, 67).topLeft());
        QCOMPARE(list.width(), units.ToPixelsX(59));
        QCOMPARE(m_dlg->size(), units.ToPixels(272, 213));
        QCOMPARE(m_dlg->minimumSize(), m_dlg->maximumSize());  // fixed size
        const Qt::WindowFlags flags = m_dlg->windowFlags();
        QVERIFY(flags & Qt::WindowMinimizeButtonHint);
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        // Centred in the available screen area.
        const QRect area = m_dlg->screen()->availableGeometry();
        QVERIFY2((m_dlg->frameGeometry().center() - area.center()).manhattanLength() <= 30,
                 qPrintable(QStringLiteral("window %1,%2 %3x%4 in %5x%6")
                                .arg(m_dlg->x())
                                .arg(m_dlg->y())
                                .arg(m_dlg->width())
                                .arg(m_dlg->height())
                                .arg(area.width())
                                .arg(area.height())));
    }

    void fontsAreIpaPGothicAtTheirSizes()
    {
        struct FontCase {
            int id;
            int pixels;
            bool bold;
        };
        const int textPixels = m_dlg->logicalDpiY() * 95 / 720;
        const FontCase cases[] = {{IDC_TITLE, 16, true},
                                  {IDC_MAKER, 12, true},
                                  {IDC_RESULT, 28, false},
                                  {IDC_DESCRIPTION, textPixels, false},
                                  {IDC_BASIS, textPixels, false}};
        for (const FontCase& c : cases) {
            const QFontInfo info(m_dlg->Control(c.id)->font());
            QCOMPARE(info.family(), QStringLiteral("IPAPGothic"));
            QCOMPARE(info.pixelSize(), c.pixels);
            QCOMPARE(m_dlg->Control(c.id)->font().weight() >= QFont::Bold, c.bold);
        }
        QCOMPARE(m_dlg->Control(IDC_RESULT)->font().weight(), QFont::Medium);
        QCOMPARE(QFontInfo(m_dlg->font()).family(), QStringLiteral("IPAPGothic"));
        QCOMPARE(QFontInfo(Reading()->font()).family(), QStringLiteral("IPAPGothic"));
    }

    void coloursAsTheProgramPaintsThem()
    {
        const QColor yellow(250, 250, 200);
        const QColor blue(0, 0, 255);
        Enter(1, QStringLiteral("0.7800"), QStringLiteral("25"));
        Convert();
        // What is really painted: the result's ground and its text.
        const QImage result = m_dlg->Control(IDC_RESULT)->grab().toImage();
        const QRect inner = result.rect().adjusted(3, 3, -3, -3);
        QCOMPARE(QColor(result.pixel(inner.topLeft())), yellow);
        bool blueText = false;
        for (int y = inner.top(); y <= inner.bottom() && !blueText; ++y) {
            for (int x = inner.left(); x <= inner.right() && !blueText; ++x) {
                blueText = QColor(result.pixel(x, y)) == blue;
            }
        }
        QVERIFY(blueText);
        const QImage field = Reading()->grab().toImage();
        QCOMPARE(QColor(field.pixel(4, field.height() / 2)), yellow);
        const QImage window = m_dlg->grab().toImage();
        QCOMPARE(QColor(window.pixel(2, 2)), QColor(Qt::white));
        QCOMPARE(m_dlg->Control(IDC_MAKER)->palette().color(QPalette::WindowText), blue);
        QCOMPARE(m_dlg->Control(IDC_TITLE)->palette().color(QPalette::WindowText),
                 QColor(Qt::black));
    }

    void hostileTextEndsInAFigureOrAWarning_data()
    {
        QTest::addColumn<QString>("reading");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("shown");  // the result, or the warning's text
        const QString density1A = QStringLiteral("密度範囲は 0.6120 ～ 1.0740 です");
        QTest::newRow("NUL ends the number") << QStringLiteral("0.8500") + QChar(0) + "9"
                                             << "20"
                                             << "0.8535";
        QTest::newRow("control characters") << QStringLiteral("\t0.8500\x01") << "20\x7f"
                                            << "0.8535";
        QTest::newRow("right-to-left mark first")
            << QStringLiteral("\u200F0.8500") << "20" << density1A;
        QTest::newRow("right-to-left mark last")
            << QStringLiteral("0.8500\u200F") << QStringLiteral("\u200E20") << "0.8394";
        QTest::newRow("full-width reading") << QStringLiteral("０.８５００") << "20" << density1A;
        QTest::newRow("ideographic space") << QStringLiteral("\u30000.8500") << "20" << density1A;
    }

    void hostileTextEndsInAFigureOrAWarning()
    {
        QFETCH(QString, reading);
        QFETCH(QString, temperature);
        QFETCH(QString, shown);
        Enter(0, QString(), QString());
        Type(Reading(), reading);
        Type(Temperature(), temperature);
        const Seen seen = ExpectWarning([this] { Convert(); });
        if (seen.text.isEmpty()) {
            m_watchdog->Expect(nullptr);  // no warning came: the result must be there
            QCOMPARE(m_dlg->ResultText(), shown);
        } else {
            QCOMPARE(seen.text, shown);
        }
    }

    void aMegabytePasteIsCutToTheFieldsLimitAndRefused()
    {
        QGuiApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('2')));
        Reading()->setFocus();
        Reading()->paste();
        QCOMPARE(Reading()->text().size(), Reading()->maxLength());
        const Seen seen = ExpectWarning([this] { Convert(); });
        QCOMPARE(seen.text, QStringLiteral("密度範囲は 0.6120 ～ 1.0740 です"));
    }

    void tenThousandConversionsKeepMemoryFlat()
    {
        // Resident set size in pages, from /proc (Linux).
        auto resident = [] {
            QFile statm(QStringLiteral("/proc/self/statm"));
            if (!statm.open(QIODevice::ReadOnly)) {
                return -1LL;
            }
            return statm.readAll().split(' ').value(1).toLongLong();
        };
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer keeps freed memory in quarantine; its leak check covers this");
#endif
        Enter(1, QStringLiteral("0.7800"), QStringLiteral("25"));
        for (int i = 0; i < 1000; ++i) {
            m_dlg->OnConvert();
        }
        const long long before = resident();
        if (before < 0) {
            QSKIP("no /proc/self/statm here");
        }
        for (int i = 0; i < 10000; ++i) {
            Reading()->setText(i % 2 == 0 ? QStringLiteral("0.7800") : QStringLiteral("0.7810"));
            m_dlg->OnConvert();
        }
        QCOMPARE(m_dlg->ResultText(), QStringLiteral("0.7884"));
        const long long grownKiB = (resident() - before) * 4;
        QVERIFY2(grownKiB < 2048, qPrintable(QStringLiteral("grew by %1 KiB").arg(grownKiB)));
    }

    void theTemperatureFieldTakesOnlyWhatFitsItsWidth()
    {
        const QString digits(60, QLatin1Char('1'));
        Temperature()->setFocus();
        QTest::keyClicks(Temperature(), digits);
        const int taken = static_cast<int>(Temperature()->text().size());
        QVERIFY(taken > 5);
        QVERIFY(taken < 60);
        QVERIFY(Temperature()->fontMetrics().horizontalAdvance(Temperature()->text()) <
                Temperature()->width());
        // A paste that would not fit is refused; the reading field scrolls.
        QGuiApplication::clipboard()->setText(QString(1 << 20, QLatin1Char('2')));
        Temperature()->paste();
        QCOMPARE(Temperature()->text().size(), taken);
        Reading()->setFocus();
        QTest::keyClicks(Reading(), digits);
        QCOMPARE(Reading()->text(), digits);
    }
};

QTEST_MAIN(UiTest)
#include "ui_test.moc"
