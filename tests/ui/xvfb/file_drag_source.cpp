// A stand-in for a file manager in the Xvfb drag test: a small window that,
// when the mouse is pressed on it, drags the files named on its command line.

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

class FileDragSource : public QLabel {
public:
    explicit FileDragSource(QList<QUrl> files)
        : QLabel(QStringLiteral("Drag me")), files_(std::move(files)) {
        setWindowTitle(QStringLiteral("File Drag Source"));
        setMinimumSize(200, 120);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(files_);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction);
    }

private:
    QList<QUrl> files_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QList<QUrl> files;
    for (const QString& path : QApplication::arguments().mid(1))
        files << QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    FileDragSource source(files);
    source.show();
    return QApplication::exec();
}
