#include "tform3.h"

#include "accounts/tform1.h"
#include "app/windowset.h"
#include "charts/tform5.h"
#include "help/author.h"
#include "ui/appsetup.h"
#include "ui/controls.h"
#include "ui/guard.h"
#include "ui/linklabel.h"
#include "ui/pictures.h"
#include "ui/windowframe.h"
#include "weight/tform2.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QShowEvent>
#include <QToolButton>
#include <QUrl>

namespace {
void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    widget->setPalette(p);
}

// Sizes a line of text to its content and centres it across the window.
void centreAt(QWidget* widget, int y) {
    widget->adjustSize();
    const int windowWidth = widget->parentWidget()->width();
    widget->move((windowWidth - widget->width()) / 2, y);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QFont& font) {
    auto* l = Named(new QLabel(text, parent), name);
    l->setFont(font);
    setTextColour(l, Qt::black);
    return l;
}

LinkLabel* link(QWidget* parent, const char* name, const QString& text, const QString& hint) {
    auto* l = Named(new LinkLabel(text, parent), name);
    QFont f = ComicFontOf(12, false);
    f.setUnderline(true);
    l->setFont(f);
    setTextColour(l, Qt::blue);
    l->setToolTip(hint);
    return l;
}
} // namespace

TForm3::TForm3(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("A propos"));
    setFixedSize(326, 267);
    setFont(ComicFontOf(8, true));
    QPalette silver = palette();
    silver.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(silver);
    setAutoFillBackground(true);

    Image1 = Named(new QLabel(this), "Image1");
    Image1->setGeometry(rect());
    Image1->setPixmap(Picture(PictureKind::AboutBackground));

    Label1 = label(this, "Label1", QStringLiteral("Kalimo"), ComicFontOf(36, true));
    centreAt(Label1, 6);

    Image2 = Named(new QLabel(this), "Image2");
    Image2->resize(32, 32);
    Image2->setPixmap(Picture(PictureKind::AboutIcon));

    Label2 = label(this, "Label2", QStringLiteral("version 0.7"), ComicFontOf(14, true));
    setTextColour(Label2, QColor(185, 92, 0));

    Label3 = label(this, "Label3", QStringLiteral("Réalisation : "), ComicFontOf(12, false));
    centreAt(Label3, 112);
    Label4 = link(this, "Label4", AuthorName, QStringLiteral("M'envoyer un E-mail"));
    centreAt(Label4, 136);
    Label5 = label(this, "Label5", QStringLiteral("Bugs, Conseils, Informations :"), ComicFontOf(12, false));
    centreAt(Label5, 168);
    Label6 = link(this, "Label6", AuthorWebAddress, QStringLiteral("Visiter mon site web"));
    centreAt(Label6, 192);

    SpeedButton1 = Named(new QToolButton(this), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("&Fermer"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setCursor(Qt::PointingHandCursor);
    SpeedButton1->setFont(ComicFontOf(12, false));
    setTextColour(SpeedButton1, Qt::black);
    SpeedButton1->setGeometry((width() - 100) / 2, 228, 100, 30);

    connect(Label4, &LinkLabel::clicked, this, Guard([this] { Label4Click(); }));
    connect(Label6, &LinkLabel::clicked, this, Guard([this] { Label6Click(); }));
    connect(SpeedButton1, &QToolButton::clicked, this, Guard([this] { SpeedButton1Click(); }));
    // Escape closes it as it closes a dialog.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, Guard([this] { SpeedButton1Click(); }));

    UseToolFrame(this);
    CentreOnFirstShow(this);

    FormCreate();
}

void TForm3::FormCreate() {
    Label2->setText(VersionText);
    placeVersion();
}

// The icon and the version side by side, the pair centred under the name.
void TForm3::placeVersion() {
    Label2->adjustSize();
    const int gap = 8;
    const int left = (width() - Image2->width() - gap - Label2->width()) / 2;
    const int y = 76;
    Image2->move(left, y);
    Label2->move(left + Image2->width() + gap, y + (Image2->height() - Label2->height()) / 2);
}

// A missing mail program or browser is not reported: the link simply does nothing.
void TForm3::Label4Click() {
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + AuthorMail));
}

void TForm3::Label6Click() {
    QDesktopServices::openUrl(QUrl(QStringLiteral("http://") + Label6->text()));
}

void TForm3::SpeedButton1Click() {
    close();
}

void TForm3::FormClose() {
    // Whichever window opened it, all three that can are usable again.
    Form1->setEnabled(true);
    Form2->setEnabled(true);
    Form5->setEnabled(true);
}

void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The focus starts on "Fermer", not on the mail link, where a Return would start a mail.
    if (!event->spontaneous())
        SpeedButton1->setFocus(Qt::OtherFocusReason);
}

void TForm3::closeEvent(QCloseEvent* event) {
    RunGuarded([this] { FormClose(); });
    event->accept();
}
