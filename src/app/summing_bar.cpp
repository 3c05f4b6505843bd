#include "app/summing_bar.h"

#include "exact/least_squares.h"
#include "fitting/fit_kind.h"
#include "fitting/point_table.h"

#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <future>

namespace {

// The sums' work (sumWork) from which a click would keep the window busy
// for about a second.
constexpr double kBusySumWork = 5e7;

// While the sums run, input goes to the bar alone: Esc cancels, and closing
// the window stops the sums and lets it close.
class OnlyToBar : public QObject {
  public:
    OnlyToBar(QWidget& bar, SumProgress& progress) : bar(bar), progress(progress) {
        qApp->installEventFilter(this);
    }
    ~OnlyToBar() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Close:
            progress.stop = true;
            return false;
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                progress.stop = true;
                return true;
            }
            [[fallthrough]];
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
            return !(target->isWidgetType() && bar.isAncestorOf(static_cast<QWidget*>(target)));
        default:
            return false;
        }
    }

  private:
    QWidget& bar;
    SumProgress& progress;
};

} // namespace

SummingBar::SummingBar(QWidget& page, const QWidget& over) : QFrame(&page), over(over) {
    setObjectName("summingBar");
    setAccessibleName("Summing the points");
    setFrameShape(StyledPanel);
    setAutoFillBackground(true);
    label = new QLabel(this);
    bar = new QProgressBar(this);
    bar->setAccessibleName("Points summed");
    cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancelSumming");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->addWidget(label);
    row->addWidget(bar, 1);
    row->addWidget(cancel);
    hide();
}

bool SummingBar::sumFirst(const CellTable& sgdResult, const FitKind& kind, int degree) {
    if (kind.pointsSetDegree() || degree < 0)
        return true;
    const std::vector<int> rows = filledRows(sgdResult);
    const double work = sumWork(rows.size(), degree);
    if (work < kBusySumWork || work > kMaxSumWork) // quick, or refused at once
        return true;
    SumProgress progress;
    auto summing = std::async(std::launch::async, [&] {
        return summedPoints(sgdResult, rows, degree, &progress) != nullptr;
    });
    label->setText(QString("Summing %1 points exactly").arg(rows.size()));
    bar->setRange(0, int(rows.size()));
    bar->setValue(0);
    // Across the page at the table's foot: wide enough for its words.
    const int width = std::max(over.width(), parentWidget()->width() - 2 * over.x());
    setGeometry(over.x(), over.geometry().bottom() - 40, width, 36);
    show();
    raise();
    cancel->setFocus();
    QApplication::setOverrideCursor(Qt::ArrowCursor); // over the step's busy cursor
    {
        const OnlyToBar filter(*this, progress);
        QEventLoop loop;
        QTimer tick;
        connect(&tick, &QTimer::timeout, &loop, [&] {
            bar->setValue(int(std::min(progress.rowsRead.load(), rows.size())));
            if (summing.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
                loop.quit();
        });
        connect(cancel, &QPushButton::clicked, &loop, [&] { progress.stop = true; });
        tick.start(30);
        loop.exec();
    }
    QApplication::restoreOverrideCursor();
    hide();
    return summing.get();
}
