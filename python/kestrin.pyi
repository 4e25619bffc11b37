"""Type stubs of the compiled module kestrin (see help(kestrin.<name>))."""
from typing import Any, Callable, Literal, Optional, Sequence, Union

import numpy as np
import numpy.typing as npt

__version__: str

Series = Union[npt.ArrayLike, "Document"]
LagCount = Union[int, Literal["best"], None]
Progress = Optional[Callable[[float], Any]]

class KestrinWarning(UserWarning): ...
class FormatError(ValueError): ...

class BootstrapResult:
    replicates: int
    seed: int
    level: float
    observed_H: float
    H_corrected: Optional[float]
    low: Optional[float]
    high: Optional[float]
    @property
    def reached(self) -> bool: ...
    @property
    def model(self) -> str: ...
    @property
    def summary(self) -> str: ...
    @property
    def notes(self) -> list[str]: ...
    @property
    def model_check_passed(self) -> Optional[bool]: ...
    warnings: list[str]

class EstimateResult:
    H: float
    b: float
    r: float
    n: int
    D: int
    M: int
    r_min: int
    lags: npt.NDArray[np.int64]
    L: npt.NDArray[np.float64]
    log_r: npt.NDArray[np.float64]
    log_L_over_r: npt.NDArray[np.float64]
    label: str
    upper_bound: Optional[float]
    warnings: list[str]
    def bootstrap(self, replicates: int = 200, seed: int = 20240615, level: float = 0.95,
                  progress: Progress = None, threads: int = 0,
                  input: str = "auto") -> BootstrapResult: ...
    def compare_methods(self, method: Literal["curve", "dfa", "whittle", "all"] = "all", bootstrap: bool = False,
                        replicates: int = 200, seed: int = 20240615, input: str = "auto", threads: int = 0,
                        progress: Progress = None) -> dict[str, Any]: ...
    def plot_fit(self, ax: Any = None) -> Any: ...

class SlidingResult:
    X: npt.NDArray[np.float64]
    offset: npt.NDArray[np.float64]
    H: npt.NDArray[np.float64]
    r: npt.NDArray[np.float64]
    b: npt.NDArray[np.float64]
    n: npt.NDArray[np.int32]
    x_min: float
    spacing: int
    width: Optional[int]
    D: Optional[int]
    M: Optional[int]
    plot_point: Optional[float]
    warnings: list[str]
    # The interval band (sliding(..., bootstrap=True)); None without.
    H_corrected: Optional[npt.NDArray[np.float64]]
    low: Optional[npt.NDArray[np.float64]]
    high: Optional[npt.NDArray[np.float64]]
    H_corrected_bound: Optional[list[str]]
    low_bound: Optional[list[str]]
    high_bound: Optional[list[str]]
    band: Optional[dict[str, Any]]
    def __len__(self) -> int: ...
    def as_frame(self) -> Any: ...

class SlopesResult:
    X: npt.NDArray[np.float64]
    offset: npt.NDArray[np.float64]
    slope: npt.NDArray[np.float64]
    size: int
    x_min: float
    warnings: list[str]
    def __len__(self) -> int: ...

class CorrelationResult:
    correlation: float
    matches: int
    offset: int
    size: int
    origin: float
    window_count: int
    slope_count: int
    H: npt.NDArray[np.float64]
    slope: npt.NDArray[np.float64]
    warnings: list[str]

class TabsResult:
    D: int
    M: int
    tabs: list[int]
    intervals: list[EstimateResult]
    warnings: list[str]
    def __len__(self) -> int: ...
    def __getitem__(self, i: int) -> EstimateResult: ...

class Document:
    def __init__(self, y: npt.ArrayLike, x: Optional[npt.ArrayLike] = None, D: int = 4, M: int = 3) -> None: ...
    x: npt.NDArray[np.float64]
    y: npt.NDArray[np.float64]
    D: int
    M: int
    estimate: EstimateResult
    tabs: list[float]
    intervals: list[EstimateResult]
    windows: SlidingResult
    spacing: int
    h_series: int
    has_data: int
    database: str
    table: str
    x_field: str
    y_field: str
    path: str
    profile_of: Optional[dict[str, Any]]
    def save(self, path: str) -> None: ...
    def __len__(self) -> int: ...

def estimate(y: npt.ArrayLike, D: int = 4, M: LagCount = 3, r_min: int = 1) -> EstimateResult: ...
def estimate_many(series: Union[Sequence[npt.ArrayLike], npt.NDArray[Any]], D: int = 4, M: LagCount = 3,
                  threads: int = 0, progress: Progress = None, r_min: int = 1) -> list[EstimateResult]: ...
def bootstrap_many(estimates: Sequence[EstimateResult], replicates: int = 200, seed: int = 20240615,
                   level: float = 0.95, threads: int = 0, progress: Progress = None) -> list[BootstrapResult]: ...
def tabs(y: Series, x: Optional[npt.ArrayLike] = None, at: Optional[Sequence[int]] = None,
         every: Optional[float] = None, D: Optional[int] = None, M: Optional[int] = None,
         r_min: Optional[int] = None) -> TabsResult: ...
def sliding(y: Series, width: Optional[int] = None, spacing: Optional[int] = None, x: Optional[npt.ArrayLike] = None,
            window_D: Optional[int] = None, window_M: LagCount = None, plot_point: Optional[float] = None, as_frame: bool = False,
            progress: Progress = None, window_r_min: int = 1, bootstrap: bool = False, replicates: int = 200,
            seed: int = 20240615, input: str = "auto") -> Any: ...
def meta_h(y: Series, width: Optional[int] = None, spacing: Optional[int] = None, x: Optional[npt.ArrayLike] = None,
           D: int = 6, M: LagCount = "best", window_D: Optional[int] = None, window_M: LagCount = None,
           plot_point: Optional[float] = None, progress: Progress = None, window_r_min: int = 1,
           r_min: int = 1) -> EstimateResult: ...
def h_data(y: Series, width: Optional[int] = None, spacing: Optional[int] = None, x: Optional[npt.ArrayLike] = None,
           window_D: Optional[int] = None, window_M: LagCount = None, plot_point: Optional[float] = None, as_frame: bool = False,
           progress: Progress = None, window_r_min: int = 1) -> Any: ...
def slopes(y: Series, size: int, x: Optional[npt.ArrayLike] = None) -> SlopesResult: ...
def correlate(y: Series, size: int, offset: int = 0, width: Optional[int] = None, spacing: Optional[int] = None,
              x: Optional[npt.ArrayLike] = None, window_D: Optional[int] = None, window_M: LagCount = None,
              plot_point: Optional[float] = None, progress: Progress = None,
              window_r_min: int = 1) -> CorrelationResult: ...
def profile(y: Series, x: Optional[npt.ArrayLike] = None) -> Document: ...
def extract(y: Series, x0: Optional[float] = None, x1: Optional[float] = None,
            x: Optional[npt.ArrayLike] = None) -> Document: ...
def read_document(path: str) -> Document: ...
def write_document(document: Document, path: str) -> None: ...
def read_text(path: str, filter: Optional[tuple[int, int]] = None) -> Document: ...
def read_table(db: str, table: str, x: str, y: str) -> Document: ...
def tables(db: str) -> list[str]: ...
def fields(db: str, table: str) -> list[str]: ...
