#pragma once
// Hands the component a replace-all as one change: the new text of the span from the first match
// to the last, built in one pass. The selections and the scroll position move as each replacement
// would move them. The caller scopes the change for undo.

class clsScintilla;
class ReplacementPlan;

// False, with nothing changed, when a line of the span carries a marker (a bookmark): the
// component moves markers in ways one large change cannot repeat, so the caller makes the
// replacements one at a time.
bool replaceInOnePass(clsScintilla &editor, const ReplacementPlan &plan);
