#include "ui/face_coloured_field.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>

namespace vellumar {
namespace {

void TakeFaceColours(QWidget& field) {
    // The scheme's own pair of face and face text, so the text stays readable.
    const QPalette scheme = QApplication::palette(&field);
    QPalette palette = field.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, scheme.color(group, QPalette::Button));
        palette.setColor(group, QPalette::Text, scheme.color(group, QPalette::ButtonText));
    }
    field.setPalette(palette);
}

class SchemeWatch : public QObject {
public:
    explicit SchemeWatch(QWidget& field) : QObject(&field) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ApplicationPaletteChange)
            TakeFaceColours(static_cast<QWidget&>(*watched));
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void ColourAsFace(QWidget& field) {
    TakeFaceColours(field);
    field.installEventFilter(new SchemeWatch(field));
}

} // namespace vellumar
