// Saves a picture of the results window after a duplicate search, for the documentation:
//   results_screenshot OUTPUT_FILE [--delete]
// With --delete the picture shows the copies "Select duplicates" chose and the dialog that Delete
// opens over them. Run it under a real (or virtual) X display so fonts and styles are the
// desktop's.

#include "query/result_row.h"
#include "results/frm_query_results.h"
#include "results/result_grid_model.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <vector>

using namespace mirelon;

namespace {

ResultRow Row(const char* folder, const char* name, const char* ext, const char* size,
              const char* sum, const char* accessed, const char* modified = "2023-06-11 18:40:12") {
    const std::string path = std::string("/home/ann/") + folder + "/" + name;
    return {path, name, ext, size, sum, "2021-04-02 09:15:00", modified, accessed, "", "", "", ""};
}

// The results window with the dialog on top, as the screen shows them.
QImage WindowAndDialog(QWidget& window, QWidget& dialog) {
    const QRect area = window.frameGeometry().united(dialog.frameGeometry());
    QImage picture(area.size(), QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.drawPixmap(window.geometry().topLeft() - area.topLeft(), window.grab());
    painter.drawPixmap(dialog.geometry().topLeft() - area.topLeft(), dialog.grab());
    return picture;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool deleting = argc == 3 && std::string(argv[2]) == "--delete";
    if (argc != 2 && !deleting) {
        std::fprintf(stderr, "usage: results_screenshot OUTPUT_FILE [--delete]\n");
        return 2;
    }
    TfrmQueryResults results;
    std::vector<ResultRow> rows = {
        Row("Music", "intro.mp3", ".mp3", "4821337", "8f14e45fceea167a5a36dedd4bea2543",
            "2024-01-20", "2019-08-01 20:14:03"),
        Row("Downloads", "intro (1).mp3", ".mp3", "4821337", "8f14e45fceea167a5a36dedd4bea2543",
            "2025-02-03 12:00:41"),
        Row("Photos/2023", "beach.jpg", ".jpg", "2210443", "1679091c5a880faf6fb5e6087eb1b2dc",
            "2024-08-30 07:12:09"),
        Row("Backup/Photos", "beach.jpg", ".jpg", "2210443", "1679091c5a880faf6fb5e6087eb1b2dc",
            "2022-11-05"),
        Row("Desktop", "beach copy.jpg", ".jpg", "2210443", "1679091c5a880faf6fb5e6087eb1b2dc",
            "2025-10-18 21:03:55"),
        Row("Documents", "report.pdf", ".pdf", "183004", "c9f0f895fb98ab9159f51fd0297e236d",
            "2025-03-14 10:30:00"),
        Row("Downloads", "report.pdf", ".pdf", "183004", "c9f0f895fb98ab9159f51fd0297e236d",
            "2025-03-14 10:31:27"),
    };
    results.Model().AppendRows(rows);
    results.SetDuplicateGrouping(false);
    results.SortByCheckSum();
    results.ShadeDuplicateGroups();
    results.Show();
    int status = 1;
    const auto save = [&](const QImage& picture) {
        status = picture.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
        std::fprintf(status == 0 ? stdout : stderr, "%s %s\n",
                     status == 0 ? "Saved" : "Cannot write", argv[1]);
    };
    if (!deleting) {
        QTimer::singleShot(400, &results, [&] {
            save(results.grab().toImage());
            QApplication::quit();
        });
        QApplication::exec();
        return status;
    }
    results.SelectDuplicates(KeepRule::Oldest);
    // Nothing is removed: the dialog is pictured and then cancelled.
    results.RunRemoval = [](const std::vector<FileRecord>&, RemovalKind) {
        return std::vector<RemovalOutcome>();
    };
    QTimer::singleShot(600, &results, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            std::fprintf(stderr, "no dialog to picture\n");
            QApplication::quit();
            return;
        }
        box->move(results.geometry().center() - box->rect().center());
        QTimer::singleShot(300, box, [&, box] {
            save(WindowAndDialog(results, *box));
            box->reject();
            QApplication::quit();
        });
    });
    QTimer::singleShot(200, &results, [&] { results.DeleteSelected(false); });
    QApplication::exec();
    return status;
}
