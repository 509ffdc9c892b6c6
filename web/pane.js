// The text panes of a page: the classic trace and the explanation. A pane
// shows a run's text up to the current step, with that step marked. Small
// texts are whole in the page; a big one is drawn only where it is in view
// (the lines in view, and on a long line the columns in view), in a
// monospace font whose lines never wrap, so that any size reads at once.
'use strict';

// The text of one view of a run, as the batches bring it. The page keeps
// the first `limit` characters and `lineLimit` lines; `received` counts
// them all, also those that the worker did not send. lineStarts[k] is where
// line k begins.
class TextStore {
    constructor(limit, lineLimit) {
        this.limit = limit;
        this.lineLimit = lineLimit;
        this.chunks = [];
        this.chunkStarts = [];
        this.length = 0;
        this.received = 0;
        this.lineStarts = new Int32Array(1024);
        this.lines = 1;
        this.longest = 0; // the longest line kept, in characters
        this.lastLine = 0; // the length of the last line so far
    }

    append(text, length) {
        this.received += length;
        if (this.length >= this.limit || !text)
            return;
        if (text.length > this.limit - this.length)
            text = text.slice(0, this.limit - this.length);
        for (let at = 0, end = text.indexOf('\n'); ; at = end + 1, end = text.indexOf('\n', at)) {
            if (end === -1) {
                this.lastLine += text.length - at;
                this.longest = Math.max(this.longest, this.lastLine);
                break;
            }
            if (this.lines === this.lineLimit) {
                // The text stops at the last line kept: nothing more is kept.
                text = text.slice(0, end);
                this.limit = this.length + text.length;
                break;
            }
            this.longest = Math.max(this.longest, this.lastLine + end - at);
            this.lastLine = 0;
            if (this.lines === this.lineStarts.length) {
                const grown = new Int32Array(this.lines * 2);
                grown.set(this.lineStarts);
                this.lineStarts = grown;
            }
            this.lineStarts[this.lines++] = this.length + end + 1;
        }
        this.chunks.push(text);
        this.chunkStarts.push(this.length);
        this.length += text.length;
    }

    // The characters kept from `from` to `to`.
    slice(from, to) {
        to = Math.min(to, this.length);
        if (from >= to)
            return '';
        let k = last(this.chunkStarts, this.chunkStarts.length, from);
        let text = '';
        for (; k < this.chunks.length && this.chunkStarts[k] < to; k++) {
            const start = this.chunkStarts[k];
            text += this.chunks[k].slice(Math.max(0, from - start), to - start);
        }
        return text;
    }

    // The line that holds the character at `offset`.
    lineOf(offset) {
        return last(this.lineStarts, this.lines, offset);
    }

    // Where line k ends (its newline, or the end of the text).
    lineEnd(k) {
        return k + 1 < this.lines ? this.lineStarts[k + 1] - 1 : this.length;
    }
}

// The last index i < count with sorted[i] <= value (0 when there is none).
function last(sorted, count, value) {
    let low = 0, high = count - 1;
    while (low < high) {
        const middle = (low + high + 1) >> 1;
        if (sorted[middle] <= value)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

// Whole in the page up to this many characters, lines and characters on a
// line (a line of 280000 takes the browser some 80 ms to lay out, each
// time it grows); drawn where in view beyond.
const wholeCharacters = 100000, wholeLines = 2000, wholeLine = 20000;
// A line longer than this is drawn by the columns in view.
const longLine = 2000;
// Lines and columns drawn beyond the view on each side.
const marginLines = 40, marginColumns = 400;

class Pane {
    constructor(element) {
        this.element = element;
        this.store = null;
        this.start = 0; // the current step: [start, end) of the text
        this.end = 0;
        this.mode = null; // 'whole' or 'window'
        this.pinned = true; // the reader has not scrolled up from the end
        this.frame = 0;
        element.addEventListener('scroll', () => {
            const e = this.element;
            this.pinned = e.scrollTop + e.clientHeight >= e.scrollHeight - this.metrics().line;
            if (this.mode === 'window' && !this.frame)
                this.frame = requestAnimationFrame(() => {
                    this.frame = 0;
                    this.drawWindow();
                });
        });
        new ResizeObserver(() => this.mode === 'window' && this.drawWindow()).observe(element);
    }

    // The height of a line and the width of a character, measured once the
    // pane is laid out.
    metrics() {
        if (!this.measured || !this.measured.line) {
            const probe = document.createElement('span');
            probe.textContent = ('x'.repeat(100) + '\n').repeat(20);
            probe.style.position = 'absolute';
            probe.style.visibility = 'hidden';
            this.element.appendChild(probe);
            const box = probe.getBoundingClientRect();
            probe.remove();
            this.measured = {line: box.height / 20, column: box.width / 100};
        }
        return this.measured;
    }

    // A new run's text.
    reset(store) {
        this.store = store;
        this.start = this.end = 0;
        this.mode = null;
        this.pinned = true;
        this.element.textContent = '';
        this.element.scrollTop = this.element.scrollLeft = 0;
    }

    // Shows the text up to `end`, [start, end) marked as the current step;
    // `reveal` is 'step' (bring the step into view, as the reader moved),
    // 'output' (new output at the end: into view unless the reader scrolled
    // up) or nothing.
    show(start, end, reveal) {
        const store = this.store;
        start = Math.min(start, store.length);
        end = Math.min(end, store.length);
        const lines = store.lineOf(end) + 1;
        const whole = end <= wholeCharacters && lines <= wholeLines && store.longest <= wholeLine;
        const mode = whole ? 'whole' : 'window';
        this.element.dataset.drawn = mode === 'whole' ? 'whole' : 'in view';
        if (mode === 'whole')
            this.drawWhole(start, end, mode !== this.mode);
        this.start = start;
        this.end = end;
        this.mode = mode;
        if (mode === 'window')
            this.drawWindow(true);
        if (reveal === 'step')
            this.pinned = end === store.length;
        if (reveal === 'step' || (reveal === 'output' && this.pinned))
            this.reveal(reveal === 'output');
    }

    // The text in the page: what comes before the step, and the step marked.
    // Moving on appends to the first part; moving back cuts it.
    drawWhole(start, end, afresh) {
        const e = this.element;
        if (afresh) {
            e.textContent = '';
            this.before = e.appendChild(document.createTextNode(this.store.slice(0, start)));
            this.mark = e.appendChild(document.createElement('mark'));
        } else if (start >= this.start) {
            this.before.appendData(this.store.slice(this.before.length, start));
        } else {
            this.before.deleteData(start, this.before.length - start);
        }
        this.mark.textContent = this.store.slice(start, end);
        this.mark.className = start === end ? 'empty' : '';
    }

    // The lines in view, each cut to the columns in view when some line is
    // long, over a block as large as the whole text.
    drawWindow(afresh) {
        const e = this.element, store = this.store, {line, column} = this.metrics();
        if (afresh || !this.sizer || this.sizer.parentNode !== e) {
            e.textContent = '';
            this.sizer = e.appendChild(document.createElement('div'));
            this.sizer.className = 'sizer';
            this.window = e.appendChild(document.createElement('div'));
            this.window.className = 'window';
        }
        const lines = store.lineOf(this.end) + 1;
        const longest = Math.min(store.longest, this.end);
        this.sizer.style.height = lines * line + 'px';
        this.sizer.style.width = longest * column + 'px';
        const first = Math.max(0, Math.floor(e.scrollTop / line) - marginLines);
        const final = Math.min(lines - 1, Math.ceil((e.scrollTop + e.clientHeight) / line) + marginLines);
        let from = 0, to = Infinity;
        if (longest > longLine) {
            from = Math.max(0, Math.floor(e.scrollLeft / column) - marginColumns);
            to = Math.ceil((e.scrollLeft + e.clientWidth) / column) + marginColumns;
        }
        // What comes before the step, and the step, which runs to the end of
        // what is shown: each line cut to the columns in view, its newline
        // with it.
        let plain = '', marked = '';
        for (let k = first; k <= final; k++) {
            const lineStart = store.lineStarts[k], lineEnd = Math.min(store.lineEnd(k), this.end);
            const a = Math.min(lineStart + from, lineEnd), b = Math.min(lineStart + to, lineEnd);
            plain += store.slice(a, Math.min(b, this.start));
            marked += store.slice(Math.max(a, this.start), b);
            if (k < final) {
                if (lineEnd >= this.start)
                    marked += '\n';
                else
                    plain += '\n';
            }
        }
        this.window.textContent = plain;
        // The step, when it reaches the lines in view.
        if (this.start <= Math.min(store.lineEnd(final), this.end)) {
            const mark = this.window.appendChild(document.createElement('mark'));
            mark.textContent = marked;
            mark.className = marked ? '' : 'empty';
        }
        this.window.style.transform = 'translate(' + from * column + 'px, ' + first * line + 'px)';
    }

    // Scrolls the pane (only the pane) to the step: its start, or at the end
    // of the output its end.
    reveal(atEnd) {
        const e = this.element, {line, column} = this.metrics();
        let x, y;
        if (this.mode === 'whole') {
            const rects = this.mark.getClientRects(), box = e.getBoundingClientRect();
            const rect = rects.length ? rects[atEnd ? rects.length - 1 : 0] : this.mark.getBoundingClientRect();
            x = (atEnd ? rect.right : rect.left) - box.left - e.clientLeft + e.scrollLeft;
            y = rect.top - box.top - e.clientTop + e.scrollTop;
        } else {
            const at = atEnd ? this.end : this.start, k = this.store.lineOf(at);
            x = (at - this.store.lineStarts[k]) * column;
            y = k * line;
        }
        if (atEnd) {
            e.scrollTop = e.scrollHeight;
        } else if (y < e.scrollTop || y + line > e.scrollTop + e.clientHeight) {
            e.scrollTop = Math.max(0, y - Math.min(3 * line, e.clientHeight / 3));
        }
        if (x < e.scrollLeft || x > e.scrollLeft + e.clientWidth - 2 * column)
            e.scrollLeft = Math.max(0, x - (atEnd ? e.clientWidth - 4 * column : 4 * column));
        this.pinned = atEnd || e.scrollTop + e.clientHeight >= e.scrollHeight - line;
        if (this.mode === 'window')
            this.drawWindow();
    }

    // Whether the step's mark lies within the pane's view.
    stepInView() {
        const mark = this.element.querySelector('mark');
        if (!mark)
            return false;
        const a = mark.getBoundingClientRect(), b = this.element.getBoundingClientRect();
        return a.top >= b.top - 1 && a.top < b.bottom && a.left >= b.left - 1 && a.left < b.right;
    }
}
