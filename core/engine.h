// The engine state of the board window: the one board position and the one game record, with every
// operation on them. The board window holds one Engine and paints it; tests and the command-line tool use
// it without any window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/editing_state.h"
#include "core/position.h"
#include "core/record.h"
#include "core/settings.h"
#include "core/ui_ports.h"

namespace quorvel {

// The message of a point where a stone may not go.
extern const char* const kNotPlayable;  // "そこは打てません。"
// The message of a variation refused because the branch table holds as many as it can.
extern const char* const kBranchTableFull;
// The line before the setup stones a move's node holds, which the board does not show.
extern const char* const kSetupNotShown;

// The record text the SGF writer last put into the text window, known by its length and digest (a large
// record is not kept twice), and which writer made it.
struct WrittenRecord {
    std::size_t digest = 0;
    std::size_t size = 0;
    bool whole = false;  // the whole record (else the line to the shown position)

    static std::size_t Digest(const std::string& text) { return std::hash<std::string>{}(text); }
};

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

    // What the writer last put into the text window; saves tell it from a text the user typed or edited.
    WrittenRecord writtenRecord;

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

    // Takes the record, position and state of `loaded`, an engine that read a record on another thread
    // (with the same settings file read into it): this engine then stands exactly where `loaded` stood. Its
    // own ports stay, and so does the table of foreign characters the windows show through, which takes
    // the loaded table's codes. A member added to Engine is taken here too.
    void AdoptLoadedState(Engine&& loaded);

    // The windows' side of the engine; without one, requests go nowhere.
    void SetRequests(BoardRequests& requests) { requests_ = &requests; }
    // The clipboard written records are copied to; without one (the command-line tool) nothing is copied.
    void SetClipboard(Clipboard& clipboard) { clipboard_ = &clipboard; }
    Clipboard* clipboard() { return clipboard_; }
    // The HTML export after a record copied to the clipboard; without one nothing is exported.
    void SetHtmlExport(HtmlExport& x) { htmlExport_ = &x; }
    HtmlExport* htmlExport() { return htmlExport_; }
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
    // The hint number of the nth branch (from 1) that starts at a position: 2..8, then 10, 11, ...
    static int RunningNumber(int nthBranch);

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

    // Command "KVG": turns the record by 180 degrees (moves of the line and of every branch, the marks, the
    // setup stones and the points written in headerText) and shows the same position again.
    void RotateRecord();

    // ---- Record editing (editing.cpp, setup_stones.cpp, swap.cpp, delete_moves.cpp, relocate.cpp) ----

    EditingState editing;

    // Creation mode, move input: a stone of the colour to move on `point`. False when it cannot go there.
    bool PutStone(PointCode point);
    // Replay mode: follows the record at `point`, or (hints on) plays a trial move there. The first trial
    // move stops stepping forward at its entry. True when the position changed.
    bool PlayTrialMove(PointCode point);
    // "P": the colour to move passes (replay mode, or creation mode with move input). A pass in replay mode
    // is a trial move.
    bool PassCommand();
    // Creation mode: the first colour, while it may still be changed.
    void SwitchFirstColour();
    // Creation mode: 1 moves, 3 setup stones (the mark palette shows with setup input).
    void SetInputMode(int mode);
    // Creation mode: back to the setup stones, or, with none but setup stones, an empty board.
    void ClearToStart();
    // Creation mode, setup input: adds a setup stone of `colour`, recolours one, or removes one of the
    // same colour. A point holding a numbered move is left alone. False when nothing changed.
    bool SetupStoneClick(PointCode point, int colour);
    // A black setup stone after the others (handicap). False at the entry limit.
    bool PlaceSetupStone(PointCode point);
    // n (2..29) black handicap stones on the star points of the board, White to move. False (with a
    // message) when the board is too small for n stones.
    bool PlaceHandicapStones(int n);
    // "Make": keeps the position, the rest of the line and the marks, and starts creation on an empty board.
    void SwitchToCreationMode();
    // "CALL": the kept position as setup stones, on an empty line.
    void CallStoredPosition();
    // "Show": the created line becomes the record (or the record comes back when nothing was created).
    void SwitchToReplayMode();
    // summaryText for the line as it stands: setup and move counts after the game summary.
    void RebuildSummaryText();

    // Marks: with markMode on, a click on an empty point toggles its mark. True when it changed.
    bool ToggleMark(PointCode point);
    // The palette's choice (0 none); clears markMode when nothing is chosen.
    void SelectMark(int kind);
    // The space bar pressed: markMode on while a mark is selected. Any key released: off.
    void SpaceBarDown();
    void MarkKeyReleased();

    // "EditC": false when no comment may be written at this position; otherwise `text` is the comment to
    // edit, and the message area shows it. FinishCommentEdit stores the edited text.
    bool BeginCommentEdit(std::string& text);
    void FinishCommentEdit(const std::string& text);

    // "Swap": exchanges the current variation with its parent line, after asking. True when swapped.
    bool SwapVariation();

    // "DEL": plays the line to its end; each DeleteClick on the last stone deletes the last move, on the
    // first stone of a variation the whole variation (then the deletion is over). EndDeleteMoves goes back
    // to the position the deletion started at (or the line end, when that lies beyond it).
    enum class DeleteResult { Nothing, LastMove, Variation };
    bool BeginDeleteMoves();
    DeleteResult DeleteClick(PointCode point);
    void EndDeleteMoves(DeleteResult last);
    // Removes the last move of the line with every branch that hangs on it.
    bool DeleteLastMove();
    // Removes the current variation with its descendants and returns to its parent (or the main line).
    bool DeleteCurrentVariation();
    // Removes branches s .. s + k - 1 from the table, renumbering the parents of those after them.
    void RemoveBranches(int s, int k);

    // The numbered entry (at or below currentIndex) whose stone stands on `point`; 0 when none.
    int NumberedEntryAt(PointCode point) const;
    // Moves the stone of numbered entry `entry` to the empty point `target`, played through the rules.
    // False (nothing changed) when the target is not a legal point for that move.
    bool RelocateStone(int entry, PointCode target);
    // The pass at currentIndex of the main line becomes a stone on `target`, played through the rules.
    bool ReplacePass(PointCode target);
    // Ctrl+click: the position after numbered main-line entry i (the stone on `point`) becomes the start,
    // its stones setup stones and the rest of the line the moves; every variation is dropped.
    bool MakePositionTheStart(PointCode point);

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
    // Empties the groups of `colour` next to `played` that have no liberty left (a background move's
    // captures: no prisoners, no log).
    void RemoveTakenGroups(PointCode played, int colour);
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
    // Editing helpers.
    void NoteEnteredEntry();
    // Creation mode: the comments of the numbered entries from `from` on (0: the start) are dropped.
    void ForgetCreatedComments(int from);
    void InsertSetupEntry(PointCode point, int colour);
    void RemoveSetupEntry(int k);
    void ReplaySetupAndMoves(int numbered);
    bool SetupChangeIsLocal(PointCode point, int skip) const;
    // Liberties of the group on `start`; `stones` is working space.
    int GroupLibertiesOf(PointCode start, std::vector<PointCode>& stones);
    void RenumberNumberedEntries(int from, int by);
    void AnalyseAfterSetupChange();
    void AnalyseForColourToMove();
    int SubtreeEnd(int b) const;
    bool SwapWithMainLine(int d);
    bool SwapWithParent(int c);
    void ReplayFromEntry(int entry, int target);
    // With the position standing before `entry`: the entry becomes a stone on `target` if that colour may
    // play there (else the message area says it may not), and the line is played again up to `shown`.
    bool ReplaceEntryStone(int entry, PointCode target, int shown);
    // True when a move of the line after `entry` is played on `target`.
    bool PlayedLaterInLine(int entry, PointCode target) const;
    int NewChildSlot(int stopMove) const;
    void RestoreStoredLine(int stepTo);
    // The phases of AddTrialMovesAsVariation.
    // The first trial move (counted from baseIndex + 1) that differs from the stored branch; 0 when every
    // stored move agrees.
    int FirstDifferingTrialMove() const;
    // Puts the stored line back, stepped to entry `stepTo`, and tells the user why the variation cannot be
    // stored; returns false.
    bool RefuseVariation(int stepTo, const char* message);
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
    HtmlExport* htmlExport_ = nullptr;
};

}  // namespace quorvel
