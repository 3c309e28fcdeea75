#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "gfx/Surface.h"
#include "gfx/ZNumber.h"
#include "gfx/ZSprite256.h"

class XAppData;
class XPlayerChara;
class ZStateStream;

// The board that slides onto the field when a round's time is up: it reveals the scores, decides the
// round's winner (or a draw) and awards the win with a growing trophy.
class XResultBoard {
public:
    static constexpr uint32_t kHidden = 0;
    static constexpr uint32_t kSlideIn = 1;
    static constexpr uint32_t kReveal = 2;
    static constexpr uint32_t kWinner = 3;
    static constexpr uint32_t kDraw = 4;
    static constexpr uint32_t kHold = 5;
    static constexpr uint32_t kRankingShown = 6;
    static constexpr uint32_t kFinished = 7;

    static constexpr int32_t kStartX = 70;
    static constexpr int32_t kStartY = -336;

    explicit XResultBoard(XAppData* app);
    XResultBoard(const XResultBoard&) = delete;
    XResultBoard& operator=(const XResultBoard&) = delete;
    virtual ~XResultBoard();

    void SetPlayer(int index, XPlayerChara* player);
    void Start();
    void Update();
    uint32_t GetState() const { return state; }
    void SetState(uint32_t newState) { state = newState; }
    void Draw(Surface* target);
    // What changes during a round, for a snapshot of it.
    void SaveState(ZStateStream* out) const;
    void LoadState(ZStateStream* in);

    // The round's winner from the players' scores: an index, or -1 for a draw.
    int32_t DecideWinner() const;

    int32_t GetWinner() const { return winner; }
    int32_t GetX() const { return x; }
    int32_t GetY() const { return y; }
    int32_t GetShownValue() const { return shownValue; }
    uint32_t GetCounter() const { return counter; }
    bool IsRevealed(int index) const { return revealed[index]; }
    bool IsTeamRevealed(int team) const { return teamRevealed[team]; }
    // Where the next trophy of the winner stands (the zooming trophy's top-left corner).
    void GetNextTrophyPlace(int* trophyX, int* trophyY) const;

private:
    enum class Mode { Single, Team, Ranking };
    Mode GetMode() const;
    void UpdateReveal();
    int32_t ScoreOf(int index) const;
    int32_t WinsOf(int index) const;
    void Reveal(int index);
    // What the composed board shows; it is composed again when this changes.
    struct Face {
        std::array<bool, 4> revealed;
        std::array<bool, 2> teamRevealed;
        std::array<int32_t, 4> scores;
        std::array<int32_t, 4> wins;
        bool operator==(const Face&) const = default;
    };
    Face GetFace() const;
    void PrepareComposition();
    // The scroll with its title and a battle's rows, with the scroll's top-left corner at (left, top).
    void DrawBoard(Surface* target, int left, int top);
    void DrawSingle(Surface* target, int left, int top);
    void DrawTeam(Surface* target, int left, int top);
    void DrawRanking(Surface* target, int left, int top);
    void DrawTrophies(Surface* target, int firstX, int trophyY, int32_t count);

    XAppData* app;
    int32_t x = 0;
    int32_t y = 0;
    int32_t shownValue = 0;
    uint32_t counter = 0;
    uint32_t state = kHidden;
    std::unique_ptr<ZNumber> largeDigits;
    std::unique_ptr<ZNumber> hugeDigits;
    std::unique_ptr<ZNumber> smallDigits;
    std::array<XPlayerChara*, 4> players{};
    std::array<bool, 4> revealed{};
    std::array<bool, 2> teamRevealed{};
    int32_t winner = -1;
    std::unique_ptr<ZSprite256> playerLabels;
    std::unique_ptr<ZSprite256> smallPercent;
    std::unique_ptr<ZSprite256> bigPercent;
    std::unique_ptr<ZSprite256> tinyPercent;
    std::unique_ptr<ZSprite256> drawSign;
    std::unique_ptr<ZSprite256> decimalPoint;
    std::unique_ptr<ZSprite256> trophy;
    std::unique_ptr<ZSprite256> brushIcons;
    std::unique_ptr<ZSprite256> scroll;
    std::unique_ptr<ZSprite256> resultTitle;
    std::unique_ptr<ZSprite256> teamBracket;
    // The board drawn once per change of its face, keyed by an index none of its pictures draws; null
    // when every index is drawn, and the board is then drawn piece by piece.
    std::unique_ptr<Surface> composed;
    std::optional<Face> composedFace;
};
