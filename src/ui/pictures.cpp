// ui/, the helpers under every window (they include none): the buttons' pictures.
#include "pictures.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace {
QString glyphFile(GlyphKind kind) {
    switch (kind) {
    case GlyphKind::Print:
        return QStringLiteral(":/images/print.svg");
    case GlyphKind::Save:
        return QStringLiteral(":/images/save.svg");
    case GlyphKind::Refresh:
        return QStringLiteral(":/images/refresh.svg");
    case GlyphKind::Year:
        return QStringLiteral(":/images/year.svg");
    case GlyphKind::Help:
        return QStringLiteral(":/images/help.svg");
    case GlyphKind::About:
        return QStringLiteral(":/images/about.svg");
    case GlyphKind::Quit:
        return QStringLiteral(":/images/quit.svg");
    }
    return {};
}

QString pictureFile(PictureKind kind) {
    switch (kind) {
    case PictureKind::LoginBackground:
        return QStringLiteral(":/images/login.svg");
    case PictureKind::AboutBackground:
        return QStringLiteral(":/images/aboutback.svg");
    case PictureKind::HelpHeading:
        return QStringLiteral(":/images/helpheading.svg");
    case PictureKind::AboutIcon:
        return QStringLiteral(":/images/kalimo.svg");
    }
    return {};
}

const QString ProgramIconFile = QStringLiteral(":/images/kalimo.svg");

// Draws a vector picture at the given size on screen, sharp on screens with more pixels per point.
QPixmap render(const QString& file, QSize size, qreal pixelRatio) {
    QPixmap pixmap(size * pixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer svg(file);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

qreal screenPixelRatio() {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return app->devicePixelRatio();
    return 1.0;
}

QIcon renderIcon(const QString& file) {
    QIcon icon;
    for (int side : {16, 20, 24, 32, 40, 48, 64})
        icon.addPixmap(render(file, QSize(side, side), 1.0));
    return icon;
}
} // namespace

QIcon Glyph(GlyphKind kind) {
    return renderIcon(glyphFile(kind));
}

void SetGlyph(QAbstractButton* button, GlyphKind kind) {
    button->setIcon(Glyph(kind));
    button->setIconSize(QSize(GlyphSize, GlyphSize));
}

QSize PictureSize(PictureKind kind) {
    switch (kind) {
    case PictureKind::LoginBackground:
        return {340, 128};
    case PictureKind::AboutBackground:
        return {326, 267};
    case PictureKind::HelpHeading:
    case PictureKind::AboutIcon:
        return {32, 32};
    }
    return {};
}

QPixmap Picture(PictureKind kind) {
    return render(pictureFile(kind), PictureSize(kind), screenPixelRatio());
}

QIcon ProgramIcon() {
    return renderIcon(ProgramIconFile);
}
