# icon targets: written by the icon work
