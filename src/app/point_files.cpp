#include "app/point_files.h"

#include "app/window_actions.h"

#include "toolkit/conversions.h"
#include "toolkit/error_display.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"
#include "toolkit/string_grid.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QSaveFile>
#include <QSettings>
#include <QUrl>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

std::string quotedName(const QString& path) {
    return quotedText(QDir::toNativeSeparators(path).toStdString(), kQuotedNameBytes);
}

std::string systemReason(const QFileDevice& file) {
    return isolatedText(file.errorString().toStdString()) + ".";
}

bool holdsPoints(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == "csv" || suffix == "tsv" || suffix == "txt";
}

} // namespace

PointFiles::PointFiles(QWidget& window, StringGrid& table)
    : QObject(&window), window(window), table(table), dropTarget(table.viewport()) {
    dropTarget->setAcceptDrops(true);
    dropTarget->installEventFilter(this);
}

PointFile PointFiles::read(const QString& path, size_t maxPoints) {
    try {
        return readPointsCsv(readPointFileBytes(QFile::encodeName(path).toStdString()), maxPoints);
    } catch (const Exception& error) {
        throw Exception("Cannot open " + quotedName(path) + ": " + error.what());
    }
}

void PointFiles::write(const QString& path, const std::string& text) {
    // Unbuffered, so that every write is checked as it is made: Qt's commit()
    // renames the new file into place even when the last buffered write failed.
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(text.data(), qint64(text.size())) == qint64(text.size()) &&
        ::fsync(file.handle()) == 0; // what the disk could not take shows here, not later
    if (!written) {
        const std::string reason = file.error() != QFileDevice::NoError
                                       ? systemReason(file)
                                       : isolatedText(std::strerror(errno)) + ".";
        file.cancelWriting();
        throw Exception("Cannot save " + quotedName(path) + ": " + reason);
    }
    if (!file.commit())
        throw Exception("Cannot save " + quotedName(path) + ": " + systemReason(file));
}

QString PointFiles::askForFileToOpen() {
    return remembered(QFileDialog::getOpenFileName(&window, "Open points",
                                                   QSettings().value("lastFolder").toString(),
                                                   "Points (*.csv *.tsv *.txt);;All files (*)"));
}

QString PointFiles::askForFileToSave(const QString& title, const QString& filter) {
    return remembered(QFileDialog::getSaveFileName(
        &window, title, QSettings().value("lastFolder").toString(), filter));
}

QString PointFiles::remembered(const QString& path) {
    if (!path.isEmpty())
        QSettings().setValue("lastFolder", QFileInfo(path).absolutePath());
    return path;
}

bool PointFiles::eventFilter(QObject* watched, QEvent* event) {
    // The type first: the table may be on its way out when other events come.
    if ((event->type() != QEvent::DragEnter && event->type() != QEvent::DragMove &&
         event->type() != QEvent::Drop) ||
        watched != dropTarget)
        return QObject::eventFilter(watched, event);
    auto* drop = static_cast<QDropEvent*>(event);
    const QMimeData* data = drop->mimeData();
    if (!data->hasUrls() && !data->hasText())
        return true; // nothing the table takes
    drop->acceptProposedAction();
    if (event->type() != QEvent::Drop)
        return true;
    guarded([&] {
        if (data->hasUrls()) { // never pasted as text
            const QList<QUrl> urls = data->urls();
            if (urls.size() > 1)
                throw Exception("Drop one file at a time.");
            if (!urls[0].isLocalFile())
                throw Exception("Cannot open " +
                                quotedText(urls[0].toString().toStdString(), kQuotedNameBytes) +
                                ": only files on this computer can be opened.");
            const QString path = urls[0].toLocalFile();
            if (!holdsPoints(path))
                throw Exception("Cannot open " + quotedName(path) +
                                ": points come in CSV, TSV or text files (.csv, .tsv, .txt).");
            if (handlers.open)
                handlers.open(path);
            return;
        }
        const QModelIndex at = table.indexAt(drop->position().toPoint());
        if (at.isValid())
            table.setCurrentIndex(at);
        table.pasteText(data->text(), "drop");
    });
    return true;
}

void PointFiles::bind(const WindowActions& actions, Handlers given) {
    handlers = std::move(given);
    connect(actions.open, &QAction::triggered, this, [this] {
        if (const QString path = askForFileToOpen(); !path.isEmpty())
            handlers.open(path);
    });
    for (const bool commas : {false, true})
        connect(commas ? actions.saveCommas : actions.save, &QAction::triggered, this,
                [this, commas] {
                    if (const QString path = askForFileToSave("Save points", "Points (*.csv)");
                        !path.isEmpty())
                        handlers.save(path, commas);
                });
    connect(actions.saveReport, &QAction::triggered, this, [this] {
        if (const QString path = askForFileToSave("Save report", "PDF (*.pdf)"); !path.isEmpty())
            handlers.saveReport(path);
    });
}
