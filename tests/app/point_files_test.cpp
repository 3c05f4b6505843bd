#include "app/fit_kind_switch.h"
#include "fitting/point_table.h"
#include "support/tarvel_test.h"

#include "app/passing_note.h"

#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QUrl>

#include <csignal>
#include <dlfcn.h>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

// Every fsync the program makes comes here first and is counted; then the
// system's own runs.
namespace {
int fsyncCalls = 0;
}
extern "C" int fsync(int descriptor) {
    ++fsyncCalls;
    static const auto system = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    return system(descriptor);
}

namespace {

// A file's name as messages quote it: isolated, so that nothing in it turns
// the sentence around.
QString quoted(const QString& path) {
    return "'\u2068" + path + "\u2069'";
}

class PointFilesTest : public TarvelTest {
  protected:
    QString write(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    // Drags `data` over the point table and drops it at `cell` (column, row
    // of the grid).
    void drop(QMimeData& data, QPoint cell = {0, 1}) {
        const QPoint at =
            form.sgdResult->visualRect(form.sgdResult->model()->index(cell.y() - 1, cell.x()))
                .center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.sgdResult->viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropEvent(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.sgdResult->viewport(), &dropEvent);
    }
    Grid points() const { return dataRows(form.sgdResult->cells()); }

    TForm1 form;
    QTemporaryDir folder;
    const Grid defaults = {{"1", "4"}, {"2", "8"}, {"3", "20"}, {"4", "46"}};
};

// A disk that fills up while the new file is written.
TEST_F(PointFilesTest, ASaveReachesTheDiskBeforeItTakesTheOldFilesPlace) {
    const int before = fsyncCalls;
    form.savePoints(folder.filePath("points.csv"));
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(fsyncCalls, before + 1) << "written through to the disk, then renamed";
}

TEST_F(PointFilesTest, SaveOnAFullDiskLeavesTheOldFileWholeAndSaysWhy) {
    const QString disk = folder.filePath("disk");
    QDir().mkdir(disk);
    if (geteuid() != 0 ||
        mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=4k") != 0)
        GTEST_SKIP() << "a full disk needs root to mount a 4 KiB tmpfs";
    const QString old = write(disk + "/old.csv", "old,file\n"); // the one page there is
    form.savePoints(old);
    form.savePoints(disk + "/new.csv");
    const QByteArray oldAfter = contents(old);
    const bool newExists = QFile::exists(disk + "/new.csv");
    umount(QFile::encodeName(disk).constData());
    ASSERT_EQ(errors().size(), 2);
    EXPECT_EQ(errors()[0], "Cannot save " + quoted(old) + ": \u2068No space left on device\u2069.");
    EXPECT_TRUE(errors()[1].startsWith("Cannot save " + quoted(disk + "/new.csv")));
    EXPECT_EQ(oldAfter, "old,file\n");
    EXPECT_FALSE(newExists) << "no empty file left behind";
}

// The system refuses a write part-way, as it does past a file size limit:
// the same path as a full disk or an I/O error, without root.
TEST_F(PointFilesTest, ASaveThatFailsPartWayLeavesTheOldFileByteForByte) {
    const QString old = write(folder.filePath("old.csv"), "old,file\n");
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 16; // the default table's CSV is longer
    setrlimit(RLIMIT_FSIZE, &small);
    form.savePoints(old);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(errors().size(), 1);
    EXPECT_EQ(errors()[0],
              "Cannot save " + quoted(old) + ": \u2068" + std::strerror(EFBIG) + "\u2069.");
    EXPECT_EQ(contents(old), "old,file\n");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"old.csv"})
        << "the unfinished new file is gone";
    form.savePoints(old);
    EXPECT_EQ(contents(old), "x,f(x)\n1,4\n2,8\n3,20\n4,46\n")
        << "and a save that can go through does";
}

TEST_F(PointFilesTest, ASaveWhereNothingCanBeWrittenSaysSo) {
    form.savePoints(folder.filePath("no such folder/points.csv"));
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].startsWith(
        "Cannot save " + quoted(folder.filePath("no such folder/points.csv")) + ": \u2068"))
        << errors()[0].toStdString();
}

TEST_F(PointFilesTest, OpenRefusesAFileWholeAndChangesNothing) {
    std::string many;
    for (int k = 0; k <= kMaxLeastSquaresPoints; ++k)
        many += std::to_string(k) + ",1\n";
    const std::pair<QString, QString> files[] = {
        {write(folder.filePath("fields.csv"), "1,2\n3,4,5,6\n"),
         "Line 2 has 4 fields; a point has two, x and f(x), and may have a weight w."},
        {write(folder.filePath("binary.csv"), QByteArray("1,2\n\0\1", 6)), "Line 2 is not text."},
        {write(folder.filePath("many.csv"), QByteArray::fromStdString(many)),
         "The file holds more than 1000000 points; the table takes at most 1000000."},
        {write(folder.filePath("empty.csv"), ""), "The file holds no points."},
        {write(folder.filePath("huge.csv"), QByteArray(64 * 1024 * 1024 + 1, '1')),
         "it is larger than 64 MB."},
        {folder.path(), "it is a folder, not a file."}};
    for (const auto& [path, reason] : files) {
        form.openPoints(path);
        ASSERT_FALSE(errors().isEmpty());
        EXPECT_EQ(errors().last(), "Cannot open " + quoted(path) + ": " + reason);
        EXPECT_EQ(points(), defaults);
        EXPECT_EQ(form.txtDegree->text(), "3");
    }
    EXPECT_EQ(TForm1State::undoStack(form).count(), 0) << "no step";
}

TEST_F(PointFilesTest, MorePointsThanThroughThePointsTakesOpenInLeastSquaresAsOneStep) {
    std::string many;
    for (int k = 0; k < 1000; ++k)
        many += std::to_string(k) + "," + std::to_string(k % 7) + "\n";
    form.openPoints(write(folder.filePath("many.csv"), QByteArray::fromStdString(many)));
    ASSERT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::leastSquares());
    EXPECT_EQ(points().size(), 1001u) << "1000 points and the blank row below them";
    EXPECT_EQ(form.txtDegree->text(), "3") << "least squares keeps the degree";
    EXPECT_TRUE(form.note->text().contains("opened in least squares"))
        << form.note->text().toStdString();
    QUndoStack& stack = TForm1State::undoStack(form);
    EXPECT_EQ(stack.count(), 1);
    stack.undo();
    EXPECT_EQ(&form.fitKind->kind(), &FitKind::throughPoints());
    EXPECT_EQ(points(), defaults);
}

TEST_F(PointFilesTest, APipeOrADeviceIsRefusedWithoutWaitingOrReading) {
    const QString fifo = folder.filePath("fifo.csv");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    form.openPoints(fifo);        // would wait for a writer for ever
    form.openPoints("/dev/zero"); // would read without end
    ASSERT_EQ(errors().size(), 2);
    EXPECT_EQ(errors()[0], "Cannot open " + quoted(fifo) + ": it is a named pipe, not a file.");
    EXPECT_EQ(errors()[1], "Cannot open " + quoted("/dev/zero") + ": it is a device, not a file.");
    EXPECT_EQ(points(), defaults);
}

TEST_F(PointFilesTest, AFileNameInAMessageCannotBreakOrTurnItAround) {
    const QString path = folder.filePath("missing\nfile\u202e.csv");
    form.openPoints(path);
    ASSERT_EQ(errors().size(), 1);
    const QString shown = folder.filePath("missing\ufffdfile\ufffd.csv");
    EXPECT_EQ(errors()[0],
              "Cannot open " + quoted(shown) + ": \u2068" + std::strerror(ENOENT) + "\u2069.");
}

TEST_F(PointFilesTest, OpenReadsDecimalCommasAndSaysSo) {
    const QString path = write(folder.filePath("europe.csv"), "1,5;2,25\n2,5;6,25\n3,5;12,25\n");
    form.openPoints(path);
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(points(), (Grid{{"1.5", "2.25"}, {"2.5", "6.25"}, {"3.5", "12.25"}}));
    EXPECT_TRUE(form.note->isVisibleTo(&form));
    EXPECT_EQ(form.note->text(), "Read 3 points with decimal commas");
}

TEST_F(PointFilesTest, APasteFromASpreadsheetSkipsItsHeaderAndReadsDecimalCommas) {
    form.btnClear->click();
    form.sgdResult->pasteText("x\tf(x)\n1,5\t2,25\n\"2\"\t4\t\n");
    EXPECT_TRUE(errors().isEmpty()) << errors().join("; ").toStdString();
    EXPECT_EQ(points(), (Grid{{"1.5", "2.25"}, {"2", "4"}, {"", ""}, {"", ""}}));
    EXPECT_EQ(form.note->text(), "Read 2 points with decimal commas");
}

TEST_F(PointFilesTest, ADroppedPointFileOpensAndOtherFilesAreRefusedByName) {
    QMimeData capitals; // as some systems name files
    capitals.setUrls({QUrl::fromLocalFile(write(folder.filePath("POINTS.CSV"), "5,6\n7,8\n"))});
    drop(capitals);
    EXPECT_EQ(points(), (Grid{{"5", "6"}, {"7", "8"}}));
    QMimeData csv;
    csv.setUrls(
        {QUrl::fromLocalFile(write(folder.filePath("points.tsv"), "x\tf(x)\n0\t1\n1\t3\n"))});
    drop(csv);
    EXPECT_EQ(points(), (Grid{{"0", "1"}, {"1", "3"}}));
    const Grid opened = points();

    const QString png = write(folder.filePath("chart.png"), "\x89PNG");
    QMimeData image;
    image.setUrls({QUrl::fromLocalFile(png)});
    image.setText(QUrl::fromLocalFile(png).toString()); // as file managers offer it
    drop(image);
    QMimeData two;
    two.setUrls({QUrl::fromLocalFile(folder.filePath("points.tsv")), QUrl::fromLocalFile(png)});
    drop(two);
    QMimeData web;
    web.setUrls({QUrl("https://example.org/points.csv")});
    drop(web);
    ASSERT_EQ(errors().size(), 3);
    EXPECT_EQ(errors()[0], "Cannot open " + quoted(png) +
                               ": points come in CSV, TSV or text files (.csv, .tsv, .txt).");
    EXPECT_EQ(errors()[1], "Drop one file at a time.");
    EXPECT_EQ(errors()[2], "Cannot open " + quoted("https://example.org/points.csv") +
                               ": only files on this computer can be opened.");
    EXPECT_EQ(points(), opened) << "no address pasted into a cell";
    EXPECT_EQ(TForm1State::undoStack(form).count(), 2) << "only the opens were steps";
}

TEST_F(PointFilesTest, DroppedTextGoesToTheCellUnderThePointer) {
    QMimeData text;
    text.setText("5\t7");
    drop(text, {0, 3});
    EXPECT_EQ(points(), (Grid{{"1", "4"}, {"2", "8"}, {"5", "7"}, {"4", "46"}}));
    EXPECT_EQ(form.sgdResult->row(), 3);
    QMimeData tall;
    tall.setText("1\n2\n3");
    drop(tall, {0, 3});
    ASSERT_EQ(errors().size(), 1);
    EXPECT_TRUE(errors()[0].startsWith("The drop holds 3 rows")) << errors()[0].toStdString();
    QMimeData huge;
    huge.setText(QString(kMaxPasteLength + 1, '1'));
    drop(huge);
    ASSERT_EQ(errors().size(), 2);
    EXPECT_TRUE(errors()[1].startsWith("The drop holds 1048577 characters"))
        << errors()[1].toStdString();
}

} // namespace
