"""Picture names an attacker picks, for every program and recipe that meets a name: stems
(the tests add ".png") that send terminal commands, overwrite or paint the line, run shell
commands in a recipe, or look like an option. None holds a blank, which Make cannot take.
"""

NAMES = [
    "clip\x1b]52;c;cHduZWQ=\x07",  # OSC 52: the terminal writes its clipboard
    "cr\rFAKE_OK",  # back to the line's start, to overwrite it
    "\x1b[31mred",  # paints the terminal
    "c1\u009b31m",  # the same as one C1 control
    "x$(touch${IFS}PWNED)",  # a shell command in a recipe
    "x`touch${IFS}PWNED`",
    "it's",
    "--help",
]

# Control characters on a terminal: C0 but the line feed, DEL and the C1 controls.
CONTROL = set(range(0x20)) - {0x0A} | {0x7F} | set(range(0x80, 0xA0))


def controls_in(text):
    """The control characters of text, a terminal's output with CR LF made LF."""
    return sorted({ord(ch) for ch in text.replace("\r\n", "\n")} & CONTROL)
