"""Plays quor6.exe under Wine and Xvfb the way a player would, and reads what it shows."""
