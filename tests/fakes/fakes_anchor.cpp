// Keeps the fakes library non-empty while the fakes are header-only.
