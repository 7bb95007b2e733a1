#include "platform/qt/fitted_labels.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>

namespace vellumar {

void FitLabelsToText(QWidget& window) {
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText)
            continue;
        const QMargins margins = label->contentsMargins();
        const int needed = label->fontMetrics().horizontalAdvance(label->text()) + margins.left() +
                           margins.right() + 2 * label->margin();
        const int more = needed - label->width();
        if (more <= 0) continue;
        QRect place = label->geometry();
        if (label->alignment() & Qt::AlignHCenter)
            place.adjust(-more / 2, 0, more - more / 2, 0);
        else
            place.setWidth(needed);
        label->setGeometry(place);
    }
}

int TitleBarWidth(const QWidget& window) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    // The icon, up to three buttons and the padding: each about a title bar high.
    constexpr int Buttons = 5;
    const int button = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + Buttons * button;
}

} // namespace vellumar
