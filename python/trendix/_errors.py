"""The exception the control raises when it refuses a call."""

E_FAIL = 0x80004005


class Error(RuntimeError):
    """A call the control refused.

    ``hresult`` is the status code the automation interface answers (an HRESULT, e.g.
    0x80070057 for an invalid argument) and ``message`` says what was wrong.
    """

    def __init__(self, message="", hresult=E_FAIL):
        super().__init__(message, hresult)
        self.message = message
        self.hresult = hresult

    def __str__(self):
        return f"{self.message} (HRESULT 0x{self.hresult:08X})"
