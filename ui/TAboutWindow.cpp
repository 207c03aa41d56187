#include "ui/TAboutWindow.h"

#include "controls/TBanner.h"
#include "ui/DialogParts.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

// The client area of a 328 x 343 window with a title bar.
constexpr QSize kClientSize(320, 316);
constexpr QSize kPictureSize(99, 91);  // the picture panel's 101 x 93 inside its bevel

const QStringList kCredits{
    QStringLiteral("Vorn Jukarium 1.0"),
    QString(),
    QStringLiteral("A jukebox for ProTracker,"),
    QStringLiteral("ScreamTracker and"),
    QStringLiteral("FastTracker modules."),
    QString(),
    QStringLiteral("Design and programming:"),
    QStringLiteral("  the Jukarium team"),
    QString(),
    QStringLiteral("Module playback:"),
    QStringLiteral("  libopenmpt"),
    QStringLiteral("Sound output:"),
    QStringLiteral("  SDL"),
    QStringLiteral("Windows and buttons:"),
    QStringLiteral("  Qt"),
    QStringLiteral("Fonts:"),
    QStringLiteral("  Liberation"),
    QString(),
    QStringLiteral("Thanks to every tracker"),
    QStringLiteral("musician who ever shared"),
    QStringLiteral("a module with the world."),
    QString(),
    QStringLiteral("* * *"),
    QString(),
};

/// A silver disc with a blue eighth note in front of it, drawn for devicePixelRatio so that
/// it is crisp on a screen with several pixels per unit.
QPixmap drawPicture(QSize size, qreal devicePixelRatio)
{
    QPixmap picture((QSizeF(size) * devicePixelRatio).toSize());
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(QColor(0x20, 0x2a, 0x44));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(size.width() * 0.42, size.height() * 0.46);
    const qreal radius = size.height() * 0.40;
    QRadialGradient silver(centre, radius);
    silver.setColorAt(0.0, QColor(0xfa, 0xfa, 0xfa));
    silver.setColorAt(1.0, QColor(0xa8, 0xb0, 0xbc));
    p.setPen(QPen(QColor(0x70, 0x78, 0x88), 1));
    p.setBrush(silver);
    p.drawEllipse(centre, radius, radius);

    // The rainbow sheen of a pressed disc, faint so the disc stays silver.
    QConicalGradient sheen(centre, 30);
    const QColor hues[] = {QColor(255, 80, 80, 70), QColor(255, 230, 80, 70),
                           QColor(80, 220, 120, 70), QColor(80, 160, 255, 70),
                           QColor(200, 90, 255, 70)};
    for (int i = 0; i <= 10; ++i)
        sheen.setColorAt(i / 10.0, hues[i % 5]);
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawEllipse(centre, radius - 2, radius - 2);

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1));
    for (qreal track = radius * 0.45; track < radius - 3; track += 5)
        p.drawEllipse(centre, track, track);

    p.setPen(QPen(QColor(0x80, 0x88, 0x96), 1));
    p.setBrush(QColor(0xd8, 0xdc, 0xe2));
    p.drawEllipse(centre, radius * 0.28, radius * 0.28);
    p.setBrush(QColor(0x20, 0x2a, 0x44));
    p.drawEllipse(centre, radius * 0.10, radius * 0.10);

    // The note: head, stem and flag, outlined in white so it stands off the disc.
    const qreal w = size.width();
    const qreal h = size.height();
    QPainterPath note;
    QPainterPath head;
    head.addEllipse(QPointF(0, 0), w * 0.11, h * 0.075);
    note.addPath(QTransform().translate(w * 0.70, h * 0.80).rotate(-25).map(head));
    const qreal stemX = w * 0.70 + w * 0.085;
    note.addRect(QRectF(stemX, h * 0.20, w * 0.035, h * 0.56));
    QPainterPath flag;
    flag.moveTo(stemX, h * 0.20);
    flag.cubicTo(stemX + w * 0.10, h * 0.30, stemX + w * 0.16, h * 0.36, stemX + w * 0.12, h * 0.52);
    flag.cubicTo(stemX + w * 0.12, h * 0.42, stemX + w * 0.08, h * 0.36, stemX, h * 0.34);
    flag.closeSubpath();
    note.addPath(flag);
    note.setFillRule(Qt::WindingFill);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0x1c, 0x4f, 0xb0));
    p.drawPath(note.simplified());
    return picture;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(place);
    return label;
}

QFrame* makePanel(QWidget* parent, const char* name, const QRect& place, int bevel)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(bevel);
    panel->setGeometry(place);
    return panel;
}

void setBold(QLabel* label)
{
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

}  // namespace

TAboutWindow::TAboutWindow(QWidget* owner)
    : QDialog(owner)
{
    DialogParts::setUpDialog(*this, "AboutWindow", kClientSize);
    setWindowTitle(QStringLiteral("About"));

    staCompany = makeLabel(this, "staCompany", QStringLiteral("Vorn Jukarium 1.0"),
                           QRect(124, 8, 189, 13));
    staTagline = makeLabel(this, "staTagline", QStringLiteral("A jukebox for tracker modules"),
                           QRect(124, 24, 189, 13));

    panPicture = makePanel(this, "panPicture", QRect(8, 8, 101, 93), 1);
    imgPicture = new QLabel(panPicture);
    imgPicture->setObjectName(QStringLiteral("imgPicture"));
    imgPicture->setScaledContents(true);
    imgPicture->setPixmap(drawPicture(kPictureSize, devicePixelRatioF()));
    imgPicture->setGeometry(panPicture->contentsRect());

    panBanner = makePanel(this, "panBanner", QRect(120, 84, 193, 121), 2);
    Banner1 = new TBanner(panBanner);
    Banner1->setObjectName(QStringLiteral("Banner1"));
    // Direction before content: with no content yet the position stays at the start.
    Banner1->SetAutoEnable(false);
    Banner1->SetScrollDirection(TScrollDirection::sdBottomToTop);
    Banner1->SetNoGap(true);
    Banner1->SetScrollInterval(150);
    Banner1->SetScrollPixels(3);
    Banner1->SetLinesAlign(TAlignment::taLeftJustify);
    Banner1->setGeometry(panBanner->contentsRect());
    // A blank before each line keeps the text off the bevel.
    QStringList lines;
    for (const QString& line : kCredits)
        lines.append(QLatin1Char(' ') + line);
    Banner1->SetLines(lines);

    staMadeWith = makeLabel(this, "staMadeWith",
                            QStringLiteral("Made with Qt, libopenmpt and SDL"),
                            QRect(120, 212, 193, 13));
    staDistribution = makeLabel(
        this, "staDistribution",
        QStringLiteral("Free to copy and to give away, as long as it stays complete."),
        QRect(120, 230, 193, 30));
    staDistribution->setWordWrap(true);
    ediContact = new QLineEdit(QStringLiteral("Ideas and bug reports: see README"), this);
    ediContact->setObjectName(QStringLiteral("ediContact"));
    ediContact->setReadOnly(true);
    ediContact->setGeometry(120, 268, 193, 21);

    m_showMessage = [this](const QString& text) { showPlainMessage(text); };
}

void TAboutWindow::FormShow()
{
    Banner1->SetScrollEnabled(true);
    setBold(staCompany);
    setBold(staTagline);
}

void TAboutWindow::FormHide()
{
    Banner1->SetScrollEnabled(false);
}

void TAboutWindow::FormDblClick()
{
    m_showMessage(QStringLiteral("My BMW 328i rulez!"));
}

void TAboutWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        if (const QScreen* screen = this->screen())
            move(screen->availableGeometry().center() - rect().center());
    }
    FormShow();
}

void TAboutWindow::hideEvent(QHideEvent* event)
{
    FormHide();
    QDialog::hideEvent(event);
}

void TAboutWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Labels and panels pass their clicks on to the window; only the bare background counts.
    if (childAt(event->position().toPoint()) == nullptr)
        FormDblClick();
    else
        QDialog::mouseDoubleClickEvent(event);
}

void TAboutWindow::showPlainMessage(const QString& text)
{
    // A plain box carries the program's title, as the main window's caption shows it.
    const QString title = parentWidget() ? parentWidget()->window()->windowTitle()
                                         : QStringLiteral("Vorn Jukarium");
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
    box.exec();
}
