#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <functional>
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

    ModalCloser()
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
        if (box == nullptr || !box->isVisible()) {
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

    QTimer timer_;
    std::vector<Record> records_;
};
