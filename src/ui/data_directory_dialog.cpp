#include "ui/data_directory_dialog.h"

#include "platform/qt/field_labels.h"
#include "platform/qt/help_topics.h"
#include "platform/qt/ok_cancel_buttons.h"
#include "ui/window_placement.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace vellumar {
namespace {

QStringList Drives() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
            roots << volume.rootPath();
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

// The drive that holds a folder: the longest mount point it lies under.
QString DriveOf(const QString& folder, const QStringList& drives) {
    QString best = QStringLiteral("/");
    for (const QString& drive : drives) {
        const QString prefix = drive.endsWith(QLatin1Char('/')) ? drive : drive + QLatin1Char('/');
        if ((folder == drive || folder.startsWith(prefix)) && drive.size() > best.size())
            best = drive;
    }
    return best;
}

} // namespace

TfrmDataDirectory::TfrmDataDirectory(const QString& startFolder, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      cbDrive(new QComboBox(this)), tvFolders(new QTreeView(this)),
      model_(new QFileSystemModel(this)) {
    setObjectName(QStringLiteral("frmDataDirectory"));
    setWindowTitle(QStringLiteral("Data Directory"));
    setProperty("helpTopic", int(TopicDataDirectory));

    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QStringLiteral("/"));
    tvFolders->setModel(model_);
    tvFolders->setAccessibleName(QStringLiteral("Default Data Directory"));
    for (int column = 1; column < model_->columnCount(); ++column) tvFolders->hideColumn(column);
    tvFolders->header()->hide();
    tvFolders->setSelectionMode(QAbstractItemView::SingleSelection);
    cbDrive->addItems(Drives());
    // The model reads folders in the background: show the selection once its
    // folders have arrived.
    connect(model_, &QFileSystemModel::directoryLoaded, this,
            [this] { tvFolders->scrollTo(tvFolders->currentIndex()); });
    connect(cbDrive, &QComboBox::activated, this,
            [this](int index) { ShowDrive(cbDrive->itemText(index)); });

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    auto* inside = new QVBoxLayout(panel);
    inside->addWidget(new QLabel(QStringLiteral("Default Data Directory"), panel));
    inside->addWidget(cbDrive);
    inside->addWidget(tvFolders);
    cbDrive->setParent(panel);
    NameComboBox(*cbDrive, QStringLiteral("Drive"));
    tvFolders->setParent(panel);

    std::tie(bnOK, bnCancel) = AddOkCancelButtons(*this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bnOK);
    buttons->addWidget(bnCancel);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    setFixedSize(340, 400);
    CentreOnScreen(*this);

    SelectFolder(startFolder);
    bnOK->setFocus();
}

bool TfrmDataDirectory::CanOpen(const QString& folder) {
    const QFileInfo info(folder);
    return !folder.isEmpty() && info.isDir() && info.isReadable() && info.isExecutable();
}

void TfrmDataDirectory::ShowDrive(const QString& root) {
    cbDrive->setCurrentText(root);
    tvFolders->setRootIndex(model_->index(root));
    tvFolders->setCurrentIndex(model_->index(root));
}

void TfrmDataDirectory::SelectFolder(const QString& folder) {
    QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    ShowDrive(DriveOf(path, Drives()));
    const QModelIndex index = model_->index(path);
    if (!index.isValid()) return;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tvFolders->expand(up);
    tvFolders->setCurrentIndex(index);
    tvFolders->scrollTo(index);
}

QString TfrmDataDirectory::SelectedFolder() const {
    QString path = model_->filePath(tvFolders->currentIndex());
    if (path.isEmpty()) path = cbDrive->currentText();
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

} // namespace vellumar
