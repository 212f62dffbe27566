#pragma once

#include "builtinpictures.h"
#include "clockrandom.h"
#include "game.h"

#include <QWidget>

#include <array>

class PictureBox;
class PixelImage;
class QGroupBox;
class QPushButton;

// The game's one window. It owns the game state and the controls, turns
// clicks into calls on the rules and mirrors their result on the pictures.
// Controls and handlers keep the names the game has always used (frmMain,
// cmdStart, Picture_07, Form_Load, NewGame, ...); everything else follows
// Qt's conventions.
class frmMain : public QWidget {
    Q_OBJECT

public:
    // The client size after load: the frame, the buttons and the preview
    // whole, nothing to the right of them.
    static constexpr int kClientWidth = 277;
    static constexpr int kClientHeight = 192;

    explicit frmMain(QWidget *parent = nullptr);

    const slidane::Game &game() const { return game_; }

    // Starts from a given position instead of a dealt one, pictures included.
    // For tests.
    void setBoardForTest(const slidane::Board &board);

private:
    void createControls();
    void onClick(QPushButton *button, void (frmMain::*handler)());
    PictureBox *cellBox(int cell) const; // 0 is the hidden Picture_00
    void Form_Load();
    void NewGame();
    int tileIn(int cell) const;
    void showBoardPictures();
    bool showTileFiles();
    void showBuiltinPictures();
    void nameCell(int cell);
    void cellClick(int cell);
    void MoveTile(int clicked, int blank);
    void CheckSolved();
    void cmdStart_Click();
    void cmdHelp_Click();
    void cmdEnd_Click();

    slidane::Game game_;
    slidane::ClockRandom random_;
    BuiltinPictures builtin_;

    QGroupBox *frameMain = nullptr;
    std::array<PictureBox *, 17> Picture_{}; // [0] is the hidden Picture_00
    QPushButton *cmdHelp = nullptr;
    QPushButton *cmdEnd = nullptr;
    QPushButton *cmdStart = nullptr;
    PixelImage *img15 = nullptr;
};
