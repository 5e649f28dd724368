// The windows' frames on a Weston that leaves them to the programs (tools/wayland.sh starts it):
// Qt frames the main window; the countdown and About windows draw a fixed frame of their own.
#include "testing.h"

#include "dialogfont.h"
#include "forms.h"
#include "frmabout.h"
#include "frmmain.h"
#include "frmstart.h"

#include <QApplication>
#include <QPointer>
#include <QProcess>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {
// Whether the compositor's screen shows the picture, pixel for pixel, waiting for it a while.
bool screenShows(const QImage &picture, const QString &keptAs)
{
    for (int tries = 0; tries < 100; ++tries, QTest::qWait(50)) {
        const QTemporaryDir dir;
        QProcess shooter;
        shooter.setWorkingDirectory(dir.path());
        shooter.start(u"weston-screenshooter"_s, {});
        shooter.waitForFinished();
        const QStringList shots = QDir(dir.path()).entryList({u"*.png"_s});
        const QImage screen = shots.isEmpty()
            ? QImage()
            : QImage(dir.filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
        screen.save(keptAs);
        for (int y = 0; y + picture.height() <= screen.height(); ++y)
            for (int x = 0; x + picture.width() <= screen.width(); ++x)
                if (screen.pixel(x, y) == picture.pixel(0, 0)
                    && screen.copy(QRect(QPoint(x, y), picture.size())) == picture)
                    return true;
    }
    return false;
}
} // namespace

class TestWayland : public QObject
{
    Q_OBJECT

    TemporaryCurrentDir m_dir;
    const HeldTimers m_held {{u"tmrStart"_s}}; // the countdown's number stays as it is drawn
    ScriptedRandom m_random;
    std::unique_ptr<Forms> m_forms;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), u"wayland"_s);
        useDialogFonts(); // as in the program
        m_forms = std::make_unique<Forms>(m_random);
        m_forms->frmMain().show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_forms->frmMain()));
        // The compositor leaves the frames to the program: Qt draws the main window's.
        QVERIFY(!m_forms->frmMain().windowHandle()->frameMargins().isNull());
    }

    void fixedWindowsDrawTheirOwnFrame_data()
    {
        QTest::addColumn<bool>("countdown");
        QTest::addColumn<QSize>("clientArea");
        QTest::newRow("countdown") << true << QSize(167, 67);
        QTest::newRow("About") << false << QSize(312, 193);
    }

    void fixedWindowsDrawTheirOwnFrame()
    {
        QFETCH(bool, countdown);
        QFETCH(QSize, clientArea);
        QPointer<QWidget> window =
            countdown ? static_cast<QWidget *>(&m_forms->frmStart()) : &m_forms->frmAbout();
        countdown ? m_forms->frmStart().countDownFromFive() : window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        // Qt draws no frame around it, the player cannot change its size, and the screen shows
        // it as it draws itself, frame and all.
        QCOMPARE(window->windowHandle()->frameMargins(), QMargins());
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(screenShows(window->grab().toImage().convertToFormat(QImage::Format_RGB32),
                            QCoreApplication::applicationDirPath()
                                + u"/wayland-%1-x%2.png"_s.arg(QTest::currentDataTag())
                                      .arg(window->devicePixelRatio())));

        // Its title bar lies above the client area, in a border of one pixel. Without a caption
        // it shows nothing but the close box at its right end (and About's icon at the left),
        // each within a square as high as the bar. Its caption, leading blanks included, is
        // whole: as wide as the trimmed one, further right, and clear of the close box.
        const int border = (window->width() - clientArea.width()) / 2;
        const QRect bar(border, border, window->width() - 2 * border,
                        window->height() - clientArea.height() - 2 * border);
        const int scale = window->devicePixelRatio(), box = bar.height() * scale;
        const auto ink = [&window, bar](const QString &title) { // the columns drawn on
            window->setWindowTitle(title);
            const QImage image = window->grab(bar).toImage();
            QList<int> columns;
            for (int x = 0; x < image.width(); ++x)
                for (int y = 0; y < image.height() && !columns.contains(x); ++y)
                    if (image.pixel(x, y) != image.pixel(0, 0))
                        columns.append(x);
            return columns;
        };
        const QString caption = window->windowTitle();
        const QList<int> bare = ink({});
        QVERIFY(std::all_of(bare.begin(), bare.end(),
                            [&](int x) { return x < box || x >= bar.width() * scale - box; }));
        const auto captionInk = [&](const QString &title) {
            QList<int> columns = ink(title);
            columns.removeIf([&bare](int x) { return bare.contains(x); });
            return columns;
        };
        const QList<int> whole = captionInk(caption), trimmed = captionInk(caption.trimmed());
        QVERIFY(!whole.isEmpty() && whole.first() > trimmed.first()
                && whole.last() < bar.width() * scale - box);
        QVERIFY(qAbs(whole.last() - whole.first() - (trimmed.last() - trimmed.first())) <= 1);

        // A click on the close box closes the window.
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          QPoint(bar.right() - bar.height() / 2, bar.center().y()));
        QTRY_VERIFY(window.isNull());
    }
};

QTEST_MAIN(TestWayland)
#include "main.moc"
