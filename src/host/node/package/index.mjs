// The module API for import: the same function as require('quillbit') gives.
import quillbit from './index.js';

export const { convertPicture } = quillbit;
export default quillbit;
