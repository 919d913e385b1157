// Card codes as the server records them: 10 * rank + suit. Ranks 1..9 are
// 6, 7, 8, 9, 10, ace, jack, queen, king; suits 1..4 diamonds, hearts,
// spades, clubs. Jacks, queens and kings are trumps whatever their suit.

const RANKS = ['', '6', '7', '8', '9', '10', 'A', 'J', 'Q', 'K'];
const SUITS = ['', '♦', '♥', '♠', '♣'];
export const SUIT_NAMES = ['', 'diamonds', 'hearts', 'spades', 'clubs'];

export const rankOf = (code) => Math.floor(code / 10);
export const suitOf = (code) => code % 10;
export const suitSymbol = (suit) => SUITS[suit] || '?';
export const cardLabel = (code) => RANKS[rankOf(code)] + suitSymbol(suitOf(code));
const isFace = (code) => code > 70;

// The order a hand is shown in: face cards first by descending code, then
// clubs, spades, hearts, diamonds, each by descending rank.
export function displayOrder(cards) {
  const key = (code) => (isFace(code) ? 1000 + code : suitOf(code) * 100 + rankOf(code));
  return [...cards].sort((a, b) => key(b) - key(a));
}

export function bidLabel(bid) {
  if (bid === 0) return 'pass';
  if (bid === 10) return '10 (Ruutu)';
  return String(bid);
}

// One card as the web table's picture of it; `attributes` become data-*
// attributes.
export function cardElement(code, attributes = {}, tag = 'span') {
  const element = document.createElement(tag);
  element.className = 'card';
  const picture = document.createElement('img');
  picture.src = `/img/${code}.png`;
  picture.alt = cardLabel(code);
  picture.draggable = false;
  element.append(picture);
  element.dataset.card = String(code);
  for (const [name, value] of Object.entries(attributes)) element.dataset[name] = String(value);
  return element;
}
