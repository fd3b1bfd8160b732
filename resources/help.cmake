# help targets: written by the help work
