"""scripts/demo: one whole game played by itself, filmed from the tray."""
