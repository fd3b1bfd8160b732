"""The measurements of scripts/bench, each in a module of its own."""
