#include "platform/qt/svg_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <memory>
#include <optional>

namespace vellumar {

namespace {

class LazySvgIconEngine : public QIconEngine {
public:
    LazySvgIconEngine(const QString& file, const QList<QSize>& sizes)
        : file_(file), sizes_(sizes), vectors_(std::make_shared<std::optional<QIcon>>()) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Vectors().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    // The size asked for is in device pixels already: no second scaling.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Vectors().pixmap(size, 1.0, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return sizes_; }
    QString key() const override { return QStringLiteral("LazySvgIconEngine"); }
    QIconEngine* clone() const override { return new LazySvgIconEngine(*this); }

private:
    // Shared by clones, so that the file is read once however often the icon is copied.
    QIcon& Vectors() {
        if (!*vectors_) vectors_->emplace(file_);
        return **vectors_;
    }

    QString file_;
    QList<QSize> sizes_;
    std::shared_ptr<std::optional<QIcon>> vectors_;
};

} // namespace

QIcon SvgIcon(const QString& file, const QList<QSize>& sizes) {
    return QIcon(new LazySvgIconEngine(file, sizes));
}

} // namespace vellumar
