// Replaced by the dialog sources.
