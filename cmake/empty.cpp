// Keeps a library target valid while a tree has no sources of its kind.
