#include "render.h"

#include <QImageWriter>

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

} // namespace

QImage renderSupersampled(int width, int height, int factor, const QColor &background,
                          const std::function<void(QPainter &)> &paint)
{
    QImage large(width * factor, height * factor, QImage::Format_ARGB32_Premultiplied);
    large.fill(background);
    {
        QPainter painter(&large);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(factor, factor);
        paint(painter);
    }
    return large.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QPainterPath svgPath(const char *data)
{
    std::string text(data);
    std::replace(text.begin(), text.end(), ',', ' ');
    std::istringstream in(text);
    const auto point = [&in] {
        double x = 0;
        double y = 0;
        in >> x >> y;
        return QPointF(x, y);
    };
    QPainterPath path;
    for (char command = 0; in >> command;) {
        if (command == 'M') {
            path.moveTo(point());
        } else if (command == 'L') {
            path.lineTo(point());
        } else if (command == 'Q') {
            const QPointF control = point();
            path.quadTo(control, point());
        } else if (command == 'C') {
            const QPointF first = point();
            const QPointF second = point();
            path.cubicTo(first, second, point());
        } else if (command == 'Z') {
            path.closeSubpath();
        } else {
            fail(QStringLiteral("unknown command %1 in the path %2").arg(command).arg(data));
        }
    }
    if (!in.eof())
        fail(QStringLiteral("bad numbers in the path %1").arg(data));
    return path;
}

QPainterPath ellipsePath(QPointF centre, double radiusX, double radiusY)
{
    QPainterPath path;
    path.addEllipse(centre, radiusX, radiusY);
    return path;
}

void save(const QImage &picture, const QString &path, const char *format, int quality)
{
    QImageWriter writer(path, format);
    writer.setQuality(quality);
    if (!writer.write(picture))
        fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
}
