#pragma once

#include <QString>

// Every text the player reads, exactly as the game shows it.
namespace slidane::texts {

// The window's caption and the caption of every message box.
inline QString appTitle()
{
    return QStringLiteral("15 - Dlaždovka - Slidane");
}

inline QString gameName()
{
    return QStringLiteral("(15) - Dlaždovka - Slidane");
}

inline QString goal()
{
    return QStringLiteral("Cílem hry je uspořádat čísla vzestupně nebo složit obrázek.");
}

inline QString win()
{
    return QStringLiteral("Vyhrál(a) jste !!!");
}

// The preview's tooltip: the sentence, the game's name in double quotes, a full stop.
inline QString previewTooltip()
{
    return QStringLiteral("Takto vypadá vyřešený hlavolam ") + QChar(34) + gameName() + QChar(34) + QStringLiteral(".");
}

// Seven lines joined by single line feeds; the last three are the credits.
inline QString help()
{
    const QChar lf(10);
    return gameName() + lf + lf + goal() + lf + lf + QStringLiteral("Správci projektu Slidane, 2026") + lf
        + QStringLiteral("https://c-seed-ee972161.example/slidane") + lf
        + QStringLiteral("maintainers@users.noreply.c-seed-ee972161.example");
}

// What a screen reader says for a cell: the tile's number, or the gap.
inline QString cellName(int tile)
{
    return tile == 0 ? QStringLiteral("Prázdné pole") : QStringLiteral("Dlaždice %1").arg(tile);
}

// Where a cell stands, said after its name: "řádek 2, sloupec 3".
inline QString cellPlace(int row, int col)
{
    return QStringLiteral("řádek %1, sloupec %2").arg(row).arg(col);
}

// What a screen reader says after a click or a Press on a cell: the tile
// that moved and where it stands now, or that the clicked tile cannot move.
// A click on the gap moves nothing and says only what the cell is.
inline QString tileMoved(int tile, int row, int col)
{
    return cellName(tile) + QStringLiteral(": ") + cellPlace(row, col);
}
inline QString cannotMove(int tile)
{
    return tile == 0 ? cellName(tile) : cellName(tile) + QStringLiteral(" se nemůže posunout");
}

// What a screen reader says after Start.
inline QString newGameDealt()
{
    return QStringLiteral("Nová hra");
}

// What a screen reader calls the board and the preview.
inline QString boardName()
{
    return QStringLiteral("Hrací plocha");
}
inline QString previewName()
{
    return QStringLiteral("Vyřešený hlavolam");
}

inline QString startCaption()
{
    return QStringLiteral("Start");
}
inline QString endCaption()
{
    return QStringLiteral("End");
}
inline QString helpCaption()
{
    return QStringLiteral("Help");
}

// The report of an error that ends the program: the prefix, then what went
// wrong. Plain characters, so that it can be written when no memory is left
// for a QString.
inline constexpr char kErrorPrefix[] = "Chyba: ";
inline constexpr char kUnknownError[] = "neznámá chyba";

} // namespace slidane::texts
