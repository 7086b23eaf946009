/** What quillbit gives for one picture. */
export interface Conversion {
  /** quillbit's exit status: 0 done, 1 the picture could not be read or converted, 2 a user error. */
  status: 0 | 1 | 2;
  /** The header's text as quillbit writes it (UTF-8 gives its bytes back), when status is 0. */
  header?: string;
  /** The header's name: the picture's name less its last three characters, plus "h". */
  headerName?: string;
  /** The message quillbit shows for the picture, when status is 0. */
  message?: string;
  /** What quillbit says on standard error, when status is 1 or 2. */
  error?: string;
}

/**
 * Converts one picture as the quillbit command does, from its bytes in memory: the name
 * decides the header's name and banner, as a file of that name would. Synchronous; the
 * WebAssembly core is compiled once, on the first call.
 */
export function convertPicture(bytes: Uint8Array | ArrayBuffer | ArrayBufferView, name: string): Conversion;

declare const quillbit: { convertPicture: typeof convertPicture };
export default quillbit;
