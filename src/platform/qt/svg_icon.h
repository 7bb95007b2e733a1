#pragma once
// Icons drawn from SVG files only when first painted, so that windows created
// hidden at start-up pay nothing for their pictures until they are shown.

#include <QIcon>
#include <QList>
#include <QSize>
#include <QString>

namespace vellumar {

// `sizes` are the sizes the icon names to a window system that asks for them
// (X11 title bars and task bars want listed sizes; a bare SVG icon lists none).
QIcon SvgIcon(const QString& file, const QList<QSize>& sizes = {});

} // namespace vellumar
