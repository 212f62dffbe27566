#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

// Watches for a modal message box while a test makes a blocking call, records
// what the box shows and closes it with its first button, so that the call
// returns and the test can check what the player would have seen.
class ModalCloser : public QObject {
public:
    struct Record {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
    };

    // Takes boxes with the given icon only; by default every box.
    explicit ModalCloser(QMessageBox::Icon only = QMessageBox::NoIcon)
        : only_(only)
    {
        connect(&timer_, &QTimer::timeout, this, &ModalCloser::poll);
        timer_.start(5);
    }

    const std::vector<Record> &records() const { return records_; }

    // Called with each record, before its box is closed.
    std::function<void(const Record &)> onRecord;

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || (only_ != QMessageBox::NoIcon && box->icon() != only_)) {
            return;
        }
        Record record{box->windowTitle(), box->text(), box->icon(), {}};
        for (QAbstractButton *button : box->buttons()) {
            record.buttons << button->text();
        }
        records_.push_back(record);
        if (onRecord) {
            onRecord(record);
        }
        box->buttons().value(0)->click();
    }

    QMessageBox::Icon only_;
    QTimer timer_;
    std::vector<Record> records_;
};

// Closes the box of a fatal error, so that a window that fails to build ends
// the test process at once with the error on stderr, instead of waiting on a
// box that nobody will close.
inline std::unique_ptr<ModalCloser> closeFatalErrorBoxes()
{
    auto closer = std::make_unique<ModalCloser>(QMessageBox::Critical);
    closer->onRecord = [](const ModalCloser::Record &box) {
        qCritical("fatal error box: %s", qUtf8Printable(box.text));
    };
    return closer;
}
