#include "messagebox.h"

#include "texts.h"

#include <QMessageBox>

void showMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Information, slidane::texts::appTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}
