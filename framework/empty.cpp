// Placeholder for a framework area that has no sources yet.
