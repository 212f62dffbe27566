#include "frmmain.h"

#include "accessibility.h"
#include "boardframe.h"
#include "cells.h"
#include "fatalerror.h"
#include "messagebox.h"
#include "picturebox.h"
#include "pixelimage.h"
#include "texts.h"
#include "tilepicture.h"

#include <QApplication>
#include <QPushButton>

namespace {

QFont uiFont(bool bold)
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(bold);
    return font;
}

QPushButton *makeButton(const QString &caption, const QString &name, int top, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFont(uiFont(false));
    button->setGeometry(192, top, 81, 25);
    return button;
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QWidget(parent)
{
    runHandler(this, [this] {
        accessibility::install();
        builtin_ = BuiltinPictures::load();
        createControls();
        Form_Load();
    });
}

void frmMain::createControls()
{
    setObjectName(QStringLiteral("frmMain"));
    // The window has a fixed size, so it asks the window manager for no
    // Maximize control. (Qt 6.4's own Wayland title bar draws one anyway.)
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowTitle(slidane::texts::appTitle());
    setWindowIcon(builtin_.icon);
    setFont(uiFont(true));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(background);
    setAutoFillBackground(true);
    resize(445, kClientHeight);

    frameMain = new BoardFrame(this);
    frameMain->setObjectName(QStringLiteral("frameMain"));
    frameMain->setGeometry(8, 0, 177, 185);
    frameMain->setAccessibleName(slidane::texts::boardName());

    for (int cell = 1; cell <= slidane::kCellCount; ++cell) {
        auto *box = new PictureBox(frameMain);
        box->setObjectName(QStringLiteral("Picture_%1").arg(cell, 2, 10, QLatin1Char('0')));
        box->setGeometry(8 + 40 * (slidane::colOfCell(cell) - 1), 16 + 40 * (slidane::rowOfCell(cell) - 1), 41, 41);
        box->setAccessibleDescription(slidane::texts::cellPlace(slidane::rowOfCell(cell), slidane::colOfCell(cell)));
        connect(box, &PictureBox::clicked, this, [this, cell] { runHandler(this, [this, cell] { cellClick(cell); }); });
        Picture_.at(static_cast<std::size_t>(cell)) = box;
    }

    cmdHelp = makeButton(slidane::texts::helpCaption(), QStringLiteral("cmdHelp"), 144, this);
    cmdEnd = makeButton(slidane::texts::endCaption(), QStringLiteral("cmdEnd"), 112, this);

    // Holds a picture only while two cells exchange theirs; never shown.
    Picture_[0] = new PictureBox(this);
    Picture_[0]->setObjectName(QStringLiteral("Picture_00"));
    Picture_[0]->setGeometry(192, 144, 41, 41);
    Picture_[0]->setFocusPolicy(Qt::NoFocus);
    Picture_[0]->hide();

    cmdStart = makeButton(slidane::texts::startCaption(), QStringLiteral("cmdStart"), 80, this);

    img15 = new PixelImage(this);
    img15->setObjectName(QStringLiteral("img15"));
    img15->setGeometry(200, 8, 66, 66);
    img15->setPixmap(builtin_.preview);
    img15->setAccessibleName(slidane::texts::previewName());

    for (int cell = 1; cell < slidane::kCellCount; ++cell) {
        setTabOrder(cellBox(cell), cellBox(cell + 1));
    }
    setTabOrder(cellBox(16), cmdStart);
    setTabOrder(cmdStart, cmdEnd);
    setTabOrder(cmdEnd, cmdHelp);

    onClick(cmdStart, &frmMain::cmdStart_Click);
    onClick(cmdHelp, &frmMain::cmdHelp_Click);
    onClick(cmdEnd, &frmMain::cmdEnd_Click);
}

void frmMain::onClick(QPushButton *button, void (frmMain::*handler)())
{
    connect(button, &QPushButton::clicked, this,
        [this, handler] { runHandler(this, [this, handler] { (this->*handler)(); }); });
}

PictureBox *frmMain::cellBox(int cell) const
{
    return Picture_.at(static_cast<std::size_t>(cell));
}

void frmMain::Form_Load()
{
    setFixedSize(kClientWidth, kClientHeight);
    NewGame();
    img15->setToolTip(slidane::texts::previewTooltip());
}

void frmMain::NewGame()
{
    game_.NewGame(random_);
    showBoardPictures();
}

int frmMain::tileIn(int cell) const
{
    return game_.board()(slidane::rowOfCell(cell), slidane::colOfCell(cell));
}

void frmMain::showBoardPictures()
{
    if (!showTileFiles()) {
        showBuiltinPictures();
    }
    for (int cell = 1; cell <= slidane::kCellCount; ++cell) {
        nameCell(cell);
    }
}

bool frmMain::showTileFiles()
{
    // Each cell takes the file of the tile standing in it as soon as that file
    // has loaded; the first file that fails puts the built-in set in all
    // sixteen cells instead, so a game never mixes the two. Any error on the
    // way, running out of memory included, is such a failure.
    try {
        for (int cell = 1; cell <= slidane::kCellCount; ++cell) {
            const QImage picture = tilepicture::load(tilepicture::filePath(tileIn(cell))).picture;
            const QPixmap shown = picture.isNull() ? QPixmap() : QPixmap::fromImage(picture);
            if (shown.isNull()) {
                return false;
            }
            cellBox(cell)->setPicture(shown);
        }
        return true;
    } catch (...) {
        return false;
    }
}

void frmMain::showBuiltinPictures()
{
    for (int cell = 1; cell <= slidane::kCellCount; ++cell) {
        cellBox(cell)->setPicture(builtin_.ImageMain.at(static_cast<std::size_t>(tileIn(cell))));
    }
}

void frmMain::setBoardForTest(const slidane::Board &board)
{
    game_.setBoard(board);
    showBoardPictures();
}

void frmMain::cellClick(int cell)
{
    const auto moved = game_.clickCell(cell);
    if (moved) {
        MoveTile(moved->clicked, moved->blank);
    }
    // Told before the solved check, whose win box would hold it back.
    if (accessibility::listening()) {
        const int to = moved ? moved->blank : cell; // where the clicked tile stands now
        const QString news = moved
            ? slidane::texts::tileMoved(tileIn(to), slidane::rowOfCell(to), slidane::colOfCell(to))
            : slidane::texts::cannotMove(tileIn(cell));
        accessibility::announce(cellBox(cell), news);
    }
    CheckSolved();
}

void frmMain::MoveTile(int clicked, int blank)
{
    // The rules have already exchanged the two Board values; the pictures
    // follow in the same three steps, through the hidden cell.
    PictureBox *const holder = cellBox(0);
    PictureBox *const tileCell = cellBox(clicked);
    PictureBox *const gapCell = cellBox(blank);
    holder->setPicture(gapCell->picture());
    gapCell->setPicture(tileCell->picture());
    tileCell->setPicture(holder->picture());
    nameCell(clicked);
    nameCell(blank);
}

void frmMain::nameCell(int cell)
{
    PictureBox *const box = cellBox(cell);
    const QString name = slidane::texts::cellName(tileIn(cell));
    if (box->accessibleName() != name) {
        box->setAccessibleName(name);
    }
}

void frmMain::CheckSolved()
{
    if (game_.CheckSolved().solved) {
        showMessage(this, slidane::texts::win());
    }
}

void frmMain::cmdStart_Click()
{
    NewGame();
    accessibility::announce(cmdStart, slidane::texts::newGameDealt());
}

void frmMain::cmdHelp_Click()
{
    showMessage(this, slidane::texts::help());
}

void frmMain::cmdEnd_Click()
{
    QApplication::exit(0);
}
