// The engine state of the board window: the one board position and the one game record, with every
// operation on them. The board window holds one Engine and paints it; tests and the command-line tool use
// it without any window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/position.h"
#include "core/record.h"
#include "core/settings.h"
#include "core/ui_ports.h"

namespace quorvel {

class Engine : public Position, public Record {
public:
    // The message area and the message boxes must outlive the engine.
    Engine(MessageArea& messages, UserDialogs& dialogs);

    Settings settings;
    bool hintsShown = true;

    // The board window's three information memos, kept as texts so that they are filled without a window.
    struct Memos {
        std::string blackName;
        std::string whiteName;
        std::string info;  // lines separated by CR LF
    } memos;

    int autoplayState = 0;        // 0 idle, 1 forward, 2 backward
    int autoplayInterval = 1000;  // milliseconds, 1000 .. 9000 in steps of 1000
    // Raised by the windows while the comment dialog is open or moves are being deleted: the hints are then
    // not recounted and the comment of the position is not shown.
    bool commentDialogOpen = false;
    bool deletingMoves = false;
    // Commands that change the record or the position wait while autoplay runs or the comment dialog is open.
    bool Busy() const { return autoplayState != 0 || commentDialogOpen; }

    // A lettered continuation of the shown position.
    struct HintLetter {
        PointCode point;
        char letter;
        bool nextMove;  // the next move of the line rather than a branch
    };
    // The letters on the board (hints on), refreshed with every recount so that a redraw shows the same
    // letters until the position changes.
    std::vector<HintLetter> hintLetters;
    bool passHint = false;  // the hint box shows "PASS": the continuation there is a pass
    // Source of random numbers for shuffled letters (Salala); tests give a seeded one.
    std::function<unsigned()> random;

    // The windows' side of the engine; without one, requests go nowhere.
    void SetRequests(BoardRequests& requests) { requests_ = &requests; }
    // The clipboard written records are copied to; without one (the command-line tool) nothing is copied.
    void SetClipboard(Clipboard& clipboard) { clipboard_ = &clipboard; }
    Clipboard* clipboard() { return clipboard_; }
    // The record formats behind "ADD" and "ReSet"; without them (the command-line tool) both do nothing.
    void SetFormats(RecordFormats& formats) { formats_ = &formats; }
    // The commands "ADD" and "ReSet" of the key table and the board's tool column.
    void AddVariationCommand() {
        if (formats_) formats_->AddVariation(*this);
    }
    void ResetRecordCommand() {
        if (formats_) formats_->ResetRecord(*this);
    }

    // ---- Board position and rules ----

    // Empties the board and the capture log; currentIndex and lastPoint become 0.
    void ResetBoard();
    // For 6, 7, 9, 13 or 19 lines: takes that size's geometry, then clears the position, the marks and
    // every comment of the record and starts a new header. Another size only clears.
    void ChangeBoardSize(int size);
    // Place a stone on lastPoint as the next entry. False (and nothing placed) when the line is full.
    bool PlayBlack();
    bool PlayWhite();
    bool PlayColour(int colour);
    // The colour `passer` passes as the next entry. False when the line is full.
    bool Pass(int passer);
    // Undoes the entry at currentIndex (only above baseIndex), restoring what it captured.
    void TakeBack();
    // True when a stone may be put on `point` (empty, not a ko or suicide point); then lastPoint = point.
    // Otherwise shows "そこは打てません。".
    bool IsPlayable(PointCode point);
    // The colour that plays entry currentIndex + 1.
    int ColourToMove() const;
    // Captures around the last stone, then groups, liberties and forbidden points for `toMove`.
    void AnalysePosition(int toMove, int mover);
    // Removes every ko and suicide mark.
    void ClearForbiddenMarks();

    // ---- Game record ----

    void NewRecord();
    // Number of branches that start at entry `position` of the current line.
    int BranchesAt(int position) const;
    // Follows the line or a branch whose next move is `point`; false when none continues there.
    bool FollowPoint(PointCode point);
    void EnterBranch(int j);
    void LeaveToParent();
    void ReturnToDiagram();
    void ReturnToMainLine();
    void RebuildLine();
    // Stores the comment of the current position (the root comment at the start of the main line).
    void StoreComment(const std::string& text);
    // Opens slot `start` of the branch table for the moves baseIndex + 1 .. currentIndex of the line.
    // False when the table is full.
    bool InsertBranchAt(int start);
    // The moves played beyond the stored line become a variation. False when there was nothing to add or
    // the variation was refused; otherwise the command "ADD" goes on to write the whole record
    // (AddVariationCommand).
    bool AddTrialMovesAsVariation();
    // The first half of resetting a record in replay mode: empties the line, the branch table, the
    // navigation state and the position. The SGF reader's ResetRecord then reloads recordText.
    void ClearRecordForReload();

    // ---- Stepping ----

    void StepForward();
    void StepBack();
    // Shows the comment (and time) of the shown position in the message area.
    void ShowPositionComment();
    // hintCount and, with hints on, the letters of the continuations at hintPosition.
    void RecountHints();

    void ForwardTen();
    void BackTen();
    void GoToEnd();
    void GoToStart();
    // Steps back until the newest entry on `point` is the last one applied.
    void BackToStone(PointCode point);
    // The pass sign shows when the last applied entry of the main line is a pass above baseIndex.
    bool PassSignShown() const;

    // ---- Variation hints ----

    // Follows the continuation with hint number `number` (key "A" = 1 is the line itself; branches have
    // the running numbers 2..8, 10, 11, ...). True when the key is consumed, that is for any number above 0.
    bool FollowHint(int number);
    // A click on the hint box: the variation chooser with hints off, the selected continuation with hints on.
    void HintBoxClick();
    void ToggleHints();
    // The letter of hint position k (1-based) in "ABCDEFGHJKLMNOPQRSTA"; 0 past its end.
    static char HintLetterAt(int k);

    // ---- Autoplay ----

    bool StartAutoplayForward();
    bool StartAutoplayBackward();
    void StopAutoplay();
    // One beat of the board window's timer.
    void AutoplayTick();
    void AutoplayIntervalUp();
    void AutoplayIntervalDown();

    // ---- Keys and wheel ----

    // A key-down on the board window (codes of keys.h). True when the key was consumed.
    bool KeyDown(int key, bool ctrlHeld);
    void Wheel(bool up);

    // Command "KVG": turns the record by 180 degrees (moves of the line and of every branch, the marks and
    // the setup stones) and shows the same position again.
    void RotateRecord();

    // Off-set of the main line into its own branch moves: the moves an AS property put in the background.
    int LineOffset() const { return (currentBranch == 0 && mainLineOffset > 0) ? mainLineOffset : 0; }
    // The comment slot of the shown position in the current branch.
    int CurrentMoveSlot() const { return currentIndex - baseIndex + LineOffset(); }
    // The place code (MakePlace) of line entry `position` in the current branch: branches leaving the line
    // after that entry carry it as their OriginPlace.
    int PlaceAt(int position) const { return MakePlace(currentBranch, position - baseIndex + LineOffset()); }

    MessageArea& messages() { return messages_; }
    UserDialogs& dialogs() { return dialogs_; }

private:
    // Capture helpers of AnalysePosition.
    void CaptureTest(PointCode n, PointCode v, int mover);
    void CaptureSingle(PointCode n, PointCode v, int mover);
    void LogCapture(PointCode p);
    void AnalyseGroups();
    void MarkSuicidePoints(int toMove, int mover);
    // Copies branch b's moves into the line after baseIndex and sets lineEnd and blackFirst.
    void LoadBranchIntoLine(int b);
    // Puts the setup entries 1..baseIndex on an emptied board.
    void PlaceSetupStones();
    bool DivergingMoveExists(int i, int off) const;
    void StepForwardWithSound();
    // Plays entry currentIndex + 1 onto the board; true when it was a pass.
    bool ApplyNextEntry();
    // Ends autoplay when it reached its end (or could not move).
    void EndAutoplayWhen(bool reachedEnd);
    int NewChildSlot(int stopMove) const;
    void RestoreStoredLine(int stepTo);
    // The phases of AddTrialMovesAsVariation.
    // The first trial move (counted from baseIndex + 1) that differs from the stored branch; 0 when every
    // stored move agrees.
    int FirstDifferingTrialMove() const;
    // Puts the stored line back, stepped to entry `stepTo`, and tells the user that the record cannot be
    // stored so; returns false.
    bool RefuseVariation(int stepTo);
    // The trial moves become a new branch that replaces the diagram's first move, and the shown one.
    void AddAlternativeToFirstMove();
    // The trial moves from `firstDiffering` on become a child variation of the current branch, entered.
    void AddChildVariation(int firstDiffering);
    // The trial moves beyond the stored end of the current branch are appended to it.
    void AppendTrialMovesToBranch();

    // What each entry's stone replaced on its point: 0 normally; a record that plays onto an occupied point
    // gets the old stone back when the entry is taken back.
    LineArray replacedStone_{};

    MessageArea& messages_;
    UserDialogs& dialogs_;
    NoWindowRequests noWindow_;
    BoardRequests* requests_ = &noWindow_;
    Clipboard* clipboard_ = nullptr;
    RecordFormats* formats_ = nullptr;
};

}  // namespace quorvel
