// Compiles nothing: the target only builds its layer's precompiled header (TestPch.h).
