// The replay of one recorded game with the exact analysis of every card.
// Test contract: the shown deal's 36 plays are `.play` elements in #plays
// with data-card, data-seat and data-loss (as --analyze gives them) and
// data-index (play order); the deals' buttons in #deals carry data-deal;
// #analysis-status gets data-state "done" or "failed".
import { fetchAnalysis, fetchRecord } from './api.js';
import { bidLabel, cardElement, cardLabel, displayOrder, suitSymbol, SUIT_NAMES } from './cards.js';
import { CARDS_PER_DEAL, firstStepOfTrick, lossesBySeat, playsOf, positionAt, team0ValueAt } from './replay.js';

const gameId = decodeURIComponent(location.pathname.replace(/\/+$/, '').split('/').pop());
const state = { record: null, analysis: null, deal: 0, step: 0 };
const $ = (id) => document.getElementById(id);

function element(tag, text = '', className = '') {
  const node = document.createElement(tag);
  if (text) node.textContent = text;
  if (className) node.className = className;
  return node;
}

const recordDeal = () => state.record.deals[state.deal];
const analysisDeal = () => (state.analysis ? state.analysis[state.deal] : null);
const names = () => recordDeal().names;
const seatName = (seat) => `${names()[seat]} (seat ${seat})`;

function showHeader() {
  const { summary } = state.record;
  $('title').textContent = `${summary.date}: ${summary.names.join(', ')}`;
  $('score').textContent = `Game points ${summary.totals[0]} : ${summary.totals[1]}` +
    ` (seats 0 and 2 : seats 1 and 3)${summary.abandoned ? ', left unfinished' : ''}`;
  const nav = $('deals');
  nav.replaceChildren(...state.record.deals.map((deal, index) => {
    const button = element('button', `Deal ${deal.deal}`);
    button.dataset.deal = String(deal.deal);
    button.addEventListener('click', () => go(index, 0));
    return button;
  }));
}

function showDealInfo() {
  const deal = recordDeal();
  const info = $('deal-info');
  const bids = deal.bids.map((bid) => `${names()[bid.seat]}: ${bidLabel(bid.bid)}`).join(', ');
  const contract = deal.all_passed ? 'all passed, forehand plays' : `contract ${bidLabel(deal.contract)}`;
  const lines = [
    `Dealer ${seatName(deal.dealer)}. Bids: ${bids}.`,
    `Declarer ${seatName(deal.declarer)}, ${contract}; trump ${suitSymbol(deal.trump)} ${SUIT_NAMES[deal.trump]}.`,
    `Card points taken ${deal.card_points[0]} : ${deal.card_points[1]}, game points ${deal.game_points[0]} : ${deal.game_points[1]}.`,
  ];
  const analysis = analysisDeal();
  if (analysis) lines.push(`With best play from the deal's start, seats 0 and 2 would have taken ${analysis.plays[0].team0_total}.`);
  info.replaceChildren(...lines.map((line) => element('p', line)));
}

function showTable() {
  const position = positionAt(recordDeal(), state.step);
  const next = state.step < CARDS_PER_DEAL ? playsOf(recordDeal(), analysisDeal())[state.step] : null;
  for (let seat = 0; seat < 4; ++seat) {
    const box = $(`seat-${seat}`);
    box.replaceChildren(element('div', seatName(seat), 'name'));
    const hand = element('div', '', 'hand');
    for (const card of displayOrder(position.hands[seat])) {
      const node = cardElement(card, { seat });
      if (next && next.seat === seat) {
        if (card === next.card) node.classList.add('played-next');
        if (next.best && next.best.includes(card)) node.classList.add('best');
      }
      hand.append(node);
    }
    box.append(hand);
    box.classList.toggle('to-move', Boolean(next && next.seat === seat));
  }
  $('trick').replaceChildren(...position.trick.map((play) => {
    const node = cardElement(play.card, { seat: play.seat });
    node.classList.add(`from-${play.seat}`);
    if (position.winner === play.seat) node.classList.add('winner');
    return node;
  }));
  const value = team0ValueAt(analysisDeal(), state.step);
  const where = state.step < CARDS_PER_DEAL ? `before card ${state.step + 1} of ${CARDS_PER_DEAL}` : 'all cards played';
  $('step').textContent = where +
    `, taken ${position.taken[0]} : ${position.taken[1]}` + (value === null ? '' : `, best play gives seats 0 and 2 ${value}`);
  showNow(next);
}

function showNow(next) {
  const now = $('now');
  if (!next) {
    now.textContent = 'The deal is over.';
    return;
  }
  const text = `${seatName(next.seat)} plays ${cardLabel(next.card)}`;
  if (next.loss === undefined) {
    now.textContent = `${text}.`;
  } else if (next.loss === 0) {
    now.textContent = `${text}: a best card (best: ${displayOrder(next.best).map(cardLabel).join(' ')}).`;
  } else {
    now.textContent = `${text}: it costs ${next.loss} card points; best was ${displayOrder(next.best).map(cardLabel).join(' ')}.`;
  }
}

function showPlays() {
  const plays = playsOf(recordDeal(), analysisDeal());
  const grid = $('plays');
  const rows = [];
  for (let trick = 0; trick < 9; ++trick) {
    const row = element('div', '', 'trick-row');
    const jump = element('button', `Trick ${trick + 1}`, 'trick-jump');
    jump.addEventListener('click', () => go(state.deal, firstStepOfTrick(trick)));
    row.append(jump);
    for (const play of plays.filter((p) => p.trick === trick)) {
      const attributes = { seat: play.seat, index: play.index };
      if (play.loss !== undefined) attributes.loss = play.loss;
      const node = cardElement(play.card, attributes, 'button');
      node.classList.add('play');
      node.title = `${seatName(play.seat)}` + (play.best ? `; best: ${displayOrder(play.best).map(cardLabel).join(' ')}` : '');
      if (play.loss > 0) node.classList.add('lost');
      if (play.index === state.step) node.classList.add('current');
      if (play.loss !== undefined) node.append(element('small', play.loss > 0 ? `−${play.loss}` : '0'));
      node.addEventListener('click', () => go(state.deal, play.index));
      row.append(node);
    }
    rows.push(row);
  }
  grid.replaceChildren(...rows);
  $('tricks').replaceChildren(...Array.from({ length: 9 }, (_, trick) => {
    const button = element('button', String(trick + 1));
    button.title = `Trick ${trick + 1}`;
    button.addEventListener('click', () => go(state.deal, firstStepOfTrick(trick)));
    return button;
  }));
}

function showLosses() {
  const table = $('losses');
  if (!state.analysis) {
    table.replaceChildren();
    return;
  }
  const head = element('tr');
  head.append(element('th', 'Deal'));
  state.record.summary.names.forEach((name, seat) => head.append(element('th', `${name} (seat ${seat})`)));
  head.append(element('th', 'All'));
  const sums = [0, 0, 0, 0];
  const rows = state.analysis.map((deal, index) => {
    const losses = lossesBySeat(deal);
    losses.forEach((loss, seat) => { sums[seat] += loss; });
    const row = element('tr');
    row.dataset.deal = String(deal.deal);
    row.classList.toggle('current', index === state.deal);
    row.append(element('td', String(deal.deal)));
    losses.forEach((loss) => row.append(element('td', String(loss))));
    row.append(element('td', String(losses.reduce((a, b) => a + b, 0))));
    row.addEventListener('click', () => go(index, 0));
    return row;
  });
  const total = element('tr', '', 'total');
  total.append(element('td', 'Game'));
  sums.forEach((sum) => total.append(element('td', String(sum))));
  total.append(element('td', String(sums.reduce((a, b) => a + b, 0))));
  table.replaceChildren(head, ...rows, total);
}

function render() {
  for (const button of $('deals').children) button.classList.toggle('current', button.dataset.deal === String(recordDeal().deal));
  showDealInfo();
  showTable();
  showPlays();
  showLosses();
}

function go(deal, step) {
  const deals = state.record.deals.length;
  state.deal = Math.max(0, Math.min(deals - 1, deal));
  state.step = Math.max(0, Math.min(CARDS_PER_DEAL, step));
  render();
}

function onKey(event) {
  if (!state.record || event.altKey || event.ctrlKey || event.metaKey) return;
  const trickStart = Math.floor(state.step / 4) * 4;
  const moves = {
    ArrowRight: () => go(state.deal, state.step + 1),
    ArrowLeft: () => go(state.deal, state.step - 1),
    ArrowDown: () => go(state.deal, trickStart + 4),
    ArrowUp: () => go(state.deal, state.step > trickStart ? trickStart : trickStart - 4),
    Home: () => go(state.deal, 0),
    End: () => go(state.deal, CARDS_PER_DEAL),
    PageDown: () => go(state.deal + 1, 0),
    PageUp: () => go(state.deal - 1, 0),
  };
  const move = moves[event.key];
  if (!move) return;
  event.preventDefault();
  move();
}

function showProgress(done, total) {
  const bar = $('analysis-progress');
  bar.max = Math.max(total, 1);
  bar.value = done;
  $('analysis-text').textContent = `Analysing every card: ${done} of ${total} deals done…`;
}

async function start() {
  try {
    state.record = await fetchRecord(gameId);
  } catch (error) {
    $('analysis-text').textContent = `This game cannot be shown: ${error.message}`;
    $('analysis-progress').hidden = true;
    return;
  }
  if (state.record.deals.length === 0) {
    $('analysis-text').textContent = 'This game has no finished deal.';
    $('analysis-progress').hidden = true;
    return;
  }
  showHeader();
  $('first').addEventListener('click', () => go(state.deal, 0));
  $('back').addEventListener('click', () => go(state.deal, state.step - 1));
  $('forward').addEventListener('click', () => go(state.deal, state.step + 1));
  $('last').addEventListener('click', () => go(state.deal, CARDS_PER_DEAL));
  document.addEventListener('keydown', onKey);
  go(0, 0);
  showProgress(0, state.record.deals.length);
  try {
    state.analysis = await fetchAnalysis(gameId, showProgress);
    $('analysis-status').dataset.state = 'done';
    $('analysis-progress').hidden = true;
    $('analysis-text').textContent = 'Every card is analysed.';
    render();
  } catch (error) {
    $('analysis-status').dataset.state = 'failed';
    $('analysis-text').textContent = `The analysis failed: ${error.message}`;
  }
}

start();
