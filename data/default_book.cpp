// The default word book lives in this library's resources (:/veltyping/Word.dat); a
// static library needs at least one source file of its own.
